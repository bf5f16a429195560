#include "update/ui/updatechecker.h"

#include "shell/apppaths.h"
#include "shell/ui/messages.h"
#include "text/netprobe.h"
#include "update/asyncdownload.h"
#include "update/downloader.h"
#include "update/downloadfolder.h"
#include "update/updatecheck.h"
#include "update/updaterlauncher.h"
#include "windows/ui/infopopup.h"

#include <QFile>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

bool hasAddress(const QString &address)
{
    return !address.trimmed().isEmpty() && address != u"no";
}

} // namespace

UpdateChecker::UpdateChecker(const AppConfig &config, QWidget *window)
    : QObject(window)
    , m_window(window)
    , m_ftpUrl(config.ftpUrl)
    , m_updateBeforeTime(config.updateBeforeTime)
    , m_poUrl1(config.poUrl1)
    , m_listTimer(new QTimer(this))
    , m_noticeTimer(new QTimer(this))
    , m_listDownload(new AsyncDownload(this))
    , m_noticeDownloader(new Downloader(this))
{
    m_listTimer->setObjectName(u"Timer2"_s);
    m_listTimer->setInterval(1000);
    connect(m_listTimer, &QTimer::timeout, this, &UpdateChecker::listTimerTick);
    m_noticeTimer->setObjectName(u"Timer1"_s);
    m_noticeTimer->setInterval(1000);
    connect(m_noticeTimer, &QTimer::timeout, this, &UpdateChecker::noticeTimerTick);
    connect(m_listDownload, &AsyncDownload::finished, this, [this](bool ok, const QString &error) {
        if (!ok)
            qInfo("update list: %s", qPrintable(error));
        listArrived(ok);
    });
}

UpdateChecker::~UpdateChecker()
{
    // The popup has no owner: it goes with the window that opened it.
    delete m_popup.data();
}

InfoPopup *UpdateChecker::popup() const
{
    return m_popup;
}

void UpdateChecker::start()
{
    m_listReady = false;
    if (hasAddress(m_ftpUrl))
        m_listDownload->start(QUrl(text::withScheme(m_ftpUrl + u"up.txt"_s)),
                              update::downloadPath(AppPaths::current(), u"up.txt"_s));
    else
        QTimer::singleShot(0, this, [this] { listArrived(false); }); // no update address: nothing to fetch
    m_noticeTimer->start();
}

void UpdateChecker::listArrived(bool ok)
{
    if (ok) {
        Q_EMIT statusChanged(update::listDownloadedStatus());
        m_listReady = true;
    }
    m_listTimer->start();
}

void UpdateChecker::listTimerTick()
{
    m_listTimer->stop();
    if (m_listAnalysed)
        return;
    m_listAnalysed = true;

    QByteArray bytes;
    if (m_listReady) {
        Q_EMIT statusChanged(update::analysingStatus());
        QFile list(update::downloadPath(AppPaths::current(), u"up.txt"_s));
        if (list.open(QIODevice::ReadOnly))
            bytes = list.readAll();
    }
    const update::ListVerdict verdict = update::judgeList(m_listReady, bytes, m_updateBeforeTime);
    Q_EMIT statusChanged(verdict.status);
    if (verdict.kind != update::ListVerdict::Kind::Newer)
        return;
    if (!messages::askOkCancel(m_window, u"题库有更新，是否现在进行升级?"_s, u"题库升级"_s)) {
        Q_EMIT statusChanged(update::updateDeclinedStatus());
        return;
    }
    if (startUpdater())
        Q_EMIT statusChanged(update::updaterStartedStatus(verdict.listDate));
}

bool UpdateChecker::startUpdater()
{
    QString error;
    if (update::startUpdater(AppPaths::current(), m_ftpUrl, m_updateBeforeTime, &error))
        return true;
    messages::inform(m_window, error, u"错误信息"_s);
    return false;
}

void UpdateChecker::noticeTimerTick()
{
    if (m_ticks != 5) {
        ++m_ticks;
        return;
    }
    ++m_ticks; // the notice is fetched once per run
    m_noticeTimer->stop();
    if (m_poUrl1.isEmpty())
        return;
    const QString address = m_poUrl1 + u"alter.ini"_s;
    if (!text::urlExists(address, m_noticeTimeoutMs))
        return;
    // A notice that did not arrive whole is not shown; neither is an older copy left from before.
    const QString path = update::downloadPath(AppPaths::current(), u"alter.ini"_s);
    QString error;
    if (!m_noticeDownloader->fetch(QUrl(text::withScheme(address)), path, &error)) {
        qInfo("notice: %s", qPrintable(error));
        return;
    }
    showNotice();
}

void UpdateChecker::showNotice()
{
    const update::Notice notice = update::readNotice(update::downloadPath(AppPaths::current(), u"alter.ini"_s));
    if (notice.text.isEmpty())
        return;
    if (m_popup)
        m_popup->close();
    m_popup = new InfoPopup();
    m_popup->setNotice(notice.text, notice.address);
    m_popup->show();
}
