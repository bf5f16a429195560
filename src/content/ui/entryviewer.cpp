#include "content/ui/entryviewer.h"

#include "db/connection.h"
#include "db/sql.h"
#include "shell/apppaths.h"
#include "shell/ui/browser.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"

using namespace Qt::StringLiterals;

namespace content {

bool showEntry(MainWindow *main, Browser *browser, const Link &link, bool onlineRequired)
{
    main->showWaitNotice(MainWindow::WaitNotice::Opening, true);
    // The network is asked only for a web address that needs it.
    const bool online = !link.local && onlineRequired ? main->checkOnline() : true;
    const Destination d = resolve(link, AppPaths::current(), online, onlineRequired);
    bool navigated = false;
    switch (d.kind) {
    case Destination::Kind::LocalFile:
    case Destination::Kind::WebAddress:
        browser->navigate(d.location);
        navigated = true;
        break;
    case Destination::Kind::Offline:
        messages::inform(main, u"当前计算机尚未联网中,无法进行即时显示相关信息...."_s, u"信息提醒"_s);
        break;
    case Destination::Kind::Missing:
        messages::inform(main, u"页面文件不存在,无法进行显示:"_s + d.location, u"错误信息"_s);
        break;
    }
    main->showWaitNotice(MainWindow::WaitNotice::Opening, false);
    return navigated;
}

void reportMissingEntry(MainWindow *main)
{
    messages::inform(main, u"该条目已不在题库中,请重新打开本栏目."_s, u"错误信息"_s);
}

void showEntryByCaption(MainWindow *main, Browser *browser, QList<Entry> (*entries)(const QSqlDatabase &),
                        const QString &caption, bool onlineRequired)
{
    std::optional<Entry> entry;
    try {
        entry = entryByCaption(entries(db::bank()), caption);
    } catch (const db::Error &e) {
        messages::inform(main, e.message(), u"错误信息"_s);
        return;
    }
    if (!entry) {
        reportMissingEntry(main);
        return;
    }
    showEntry(main, browser, entry->link, onlineRequired);
}

} // namespace content
