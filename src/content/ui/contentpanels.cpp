#include "content/ui/contentpanels.h"

#include "content/ui/demopanel.h"
#include "content/ui/guidepanel.h"
#include "content/ui/handoutpanel.h"
#include "content/ui/helppanel.h"
#include "shell/ui/browser.h"
#include "shell/ui/mainwindow.h"

#include <QPushButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace content {

void installPanels(MainWindow *main)
{
    const auto tie = [main](const QString &button, auto *panel, auto open) {
        // Connected after the main window's own handler, which brings the panel to the front.
        if (auto *b = main->findChild<QToolButton *>(button))
            QObject::connect(b, &QToolButton::clicked, panel, open);
    };
    tie(u"SpeedButton5"_s, new HandoutPanel(main, main->panel(u"Panel11"_s)), &HandoutPanel::open);
    tie(u"SpeedButton6"_s, new GuidePanel(main, main->panel(u"Panel10"_s)), &GuidePanel::open);
    tie(u"SpeedButton7"_s, new HelpPanel(main, main->panel(u"Panel13"_s)), &HelpPanel::open);
    tie(u"SpeedButton2"_s, new DemoPanel(main, main->panel(u"Panel14"_s)), &DemoPanel::open);
}

Browser *adoptBrowser(QWidget *panel, const QString &name)
{
    auto *browser = panel->findChild<Browser *>(name, Qt::FindDirectChildrenOnly);
    if (!browser) {
        browser = new Browser(name, panel);
        browser->setRightButtonSwallowed(true);
    }
    browser->show();
    return browser;
}

QPushButton *entryButton(const QString &caption, const QString &objectName, const QString &accessibleName,
                         const QPixmap &glyph, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(objectName);
    b->setAccessibleName(accessibleName);
    b->setFlat(true);
    b->setIcon(QIcon(glyph));
    b->setStyleSheet(u"QPushButton{text-align:left;background:transparent}"_s);
    return b;
}

} // namespace content
