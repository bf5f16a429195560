#include "content/ui/helppanel.h"

#include "content/guidehelp.h"
#include "content/ui/contentpanels.h"
#include "content/ui/entryviewer.h"
#include "db/connection.h"
#include "db/sql.h"
#include "practice/ui/skinbackground.h"
#include "shell/apppaths.h"
#include "shell/ui/browser.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "shell/ui/skin.h"
#include "update/updaterlauncher.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>

using namespace Qt::StringLiterals;

HelpPanel::HelpPanel(MainWindow *main, QWidget *panel13)
    : QWidget(panel13)
    , m_main(main)
{
    setObjectName(u"help"_s);
    auto *outer = new QHBoxLayout(panel13);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(this);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(6);
    m_box = new QGroupBox(u"帮助中心"_s, this);
    m_box->setObjectName(u"helpBox"_s);
    m_box->setFixedWidth(216);
    layout->addWidget(m_box);
    m_wb6 = content::adoptBrowser(panel13, u"wb6"_s);
    layout->addWidget(m_wb6, 1);

    // Enabled from start-up on, whether the help centre was opened or not.
    m_updateButton = content::entryButton(u"  手工升级题库"_s, u"SpeedButton45"_s, u"手工升级题库"_s,
                                          skin::picture(u"skin/001_31.bmp"_s), m_box);
    m_updateButton->setGeometry(32, content::manualUpdateTop(0), 145, 33);
    connect(m_updateButton, &QPushButton::clicked, this, &HelpPanel::manualUpdate);
}

void HelpPanel::open()
{
    m_main->bringToFront(parentWidget());
    m_wb6->navigate(m_main->programFile(u"data/help.htm"_s));
    skin::setBackground(m_box, skin::picture(u"skin/bg16.bmp"_s));
    QList<content::Entry> entries;
    try {
        entries = content::helpEntries(db::bank());
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        entries.clear();
    }
    for (QPushButton *b : m_box->findChildren<QPushButton *>(Qt::FindDirectChildrenOnly)) {
        if (b != m_updateButton)
            delete b;
    }
    const QPixmap glyph = skin::picture(u"skin/001_31.bmp"_s);
    for (int i = 0; i < entries.size(); ++i) {
        const QString way = entries.at(i).name;
        auto *b =
            content::entryButton(content::helpButtonCaption(way), u"help%1"_s.arg(i), way.trimmed(), glyph, m_box);
        b->setGeometry(32, content::helpButtonTop(i), 145, 33);
        b->show();
        connect(b, &QPushButton::clicked, this, [this, b] { helpClicked(b->text()); });
    }
    m_updateButton->move(32, content::manualUpdateTop(int(entries.size())));
    m_updateButton->raise();
}

void HelpPanel::helpClicked(const QString &caption)
{
    // Help pages are opened without asking for the network: the browser says so if it is down.
    content::showEntryByCaption(m_main, m_wb6, &content::helpEntries, caption, false);
}

void HelpPanel::manualUpdate()
{
    const AppConfig &c = m_main->config();
    QString error;
    if (!update::startUpdater(AppPaths::current(), c.ftpUrl, c.updateBeforeTime, &error))
        messages::inform(this, error, u"错误信息"_s);
}
