#include "content/ui/guidepanel.h"

#include "content/guidehelp.h"
#include "content/ui/contentpanels.h"
#include "content/ui/entryviewer.h"
#include "db/connection.h"
#include "db/sql.h"
#include "practice/ui/skinbackground.h"
#include "shell/ui/browser.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "shell/ui/skin.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>

using namespace Qt::StringLiterals;

GuidePanel::GuidePanel(MainWindow *main, QWidget *panel10)
    : QWidget(panel10)
    , m_main(main)
{
    setObjectName(u"guide"_s);
    auto *outer = new QHBoxLayout(panel10);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(this);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(6);
    m_box = new QGroupBox(u"考试指南"_s, this);
    m_box->setObjectName(u"guideBox"_s);
    m_box->setFixedWidth(192);
    layout->addWidget(m_box);
    m_wb3 = content::adoptBrowser(panel10, u"wb3"_s);
    layout->addWidget(m_wb3, 1);
}

void GuidePanel::open()
{
    m_main->bringToFront(parentWidget());
    skin::setBackground(m_box, skin::picture(u"skin/bg16.bmp"_s));
    m_wb3->navigate(m_main->programFile(u"data/ks_dg.htm"_s));
    QList<content::Entry> entries;
    try {
        entries = content::guideEntries(db::bank());
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    qDeleteAll(m_box->findChildren<QPushButton *>(Qt::FindDirectChildrenOnly));
    for (int n = 0; n < entries.size(); ++n) {
        const QString name = entries.at(n).name.trimmed();
        auto *b = content::entryButton(content::guideButtonCaption(name), u"ks_dg%1"_s.arg(n), name,
                                       skin::picture(u"skin/001_60.bmp"_s), m_box);
        b->setToolTip(name);
        b->setGeometry(7, content::guideButtonTop(n), 220, 35);
        b->show();
        connect(b, &QPushButton::clicked, this, [this, b] { guideClicked(b->text()); });
    }
}

void GuidePanel::guideClicked(const QString &caption)
{
    content::showEntryByCaption(m_main, m_wb3, &content::guideEntries, caption, true);
}
