#include "update/updatejob.h"

#include "db/connection.h"
#include "shell/appconfig.h"
#include "shell/clock.h"
#include "shell/inifile.h"
#include "text/gbk.h"
#include "text/netprobe.h"
#include "update/downloader.h"
#include "update/downloadfolder.h"
#include "update/incomingbank.h"
#include "update/updatelist.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QSqlDatabase>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

constexpr auto kLocalConnection = "update-local";
constexpr auto kIncomingConnection = "update-new";

const QString kRecordCaption = u"记录变动提示"_s;
const QString kErrorCaption = u"错误信息"_s;

// A server on this machine needs no internet connection.
bool isLoopback(const QUrl &url)
{
    const QString host = url.host();
    return host.compare(u"localhost"_s, Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback();
}

// A download address: the update address with the file name appended.
QUrl urlOf(const QString &address, const QString &name)
{
    return QUrl(text::withScheme(address + name));
}

// The password part of the connection: [config] user_pid decoded as exambank decodes it; a
// malformed value is reported and none used.
QString readPassword(const AppPaths &paths, QStringList *errors)
{
    IniFile ini(mainIniPath(paths));
    QString reason;
    if (!ini.load(&reason)) {
        errors->append(u"main.ini: "_s + reason);
        return {};
    }
    const QString key = u"user_pid"_s;
    const QString encoded = ini.value(QString::fromUtf16(configKey(key).section), key);
    QString password;
    if (!text::hexXorDecode(encoded, &password)) {
        errors->append(malformedValueMessage(key, encoded));
        return {};
    }
    return password;
}

UpdateJob::Outcome failed(const QString &message)
{
    return {UpdateJob::Result::Failed, message, kErrorCaption, 0, {}};
}

} // namespace

UpdateJob::UpdateJob(const AppPaths &paths, QObject *parent)
    : QObject(parent)
    , m_paths(paths)
    , m_password(readPassword(paths, &m_configErrors))
    , m_downloader(new Downloader(this))
    , m_online(&text::isOnline)
{
}

UpdateJob::~UpdateJob() = default;

UpdateJob::Outcome UpdateJob::runOnline(const QString &address, QString &lastDate)
{
    Q_EMIT step(u"请稍等,正在检查更新信息..."_s);
    if (!isLoopback(urlOf(address, {})) && !m_online())
        return {Result::Offline, u"您现在尚未联网,无法进行升级服务....."_s, u"信息提醒"_s, 0, {}};

    Q_EMIT step(u"请稍等,准备下载更新信息..."_s);
    QString error;
    const QString listPath = update::downloadPath(m_paths, u"up.txt"_s);
    if (!m_downloader->fetch(urlOf(address, u"up.txt"_s), listPath, &error))
        return failed(error);

    Q_EMIT step(u"请稍等,正在分析更新信息..."_s);
    QFile listFile(listPath);
    if (!listFile.open(QIODevice::ReadOnly))
        return failed(u"无法读取更新列表 %1: %2"_s.arg(QDir::toNativeSeparators(listPath), listFile.errorString()));
    const update::UpdateList list = update::parseUpdateList(listFile.readAll());
    const auto last = update::parseListDate(lastDate);
    if (!last)
        return failed(u"末次更新时间 \"%1\" 不是有效的日期."_s.arg(lastDate));
    const auto newest = update::parseListDate(list.dateText);
    if (!newest)
        return failed(u"更新列表的日期 \"%1\" 不是有效的日期."_s.arg(list.dateText));
    if (*last >= *newest)
        return {Result::NothingNewer, u"网上记录比本机记录还早,无需进行更新..."_s, kRecordCaption, 0, {}};

    lastDate = list.dateText;
    if (list.entries.isEmpty())
        return {Result::NoEntries, u"当前记录为最新记录,无需进行更新..."_s, kRecordCaption, 0, {}};

    int days = 0;
    if (!readUpdateDays(&days, &error))
        return failed(error);
    // The whole list is checked before the first download: a list that points outside data/ is not trusted.
    QList<update::Entry> entries;
    for (const QString &text : list.entries) {
        const update::Entry entry = update::classifyEntry(text);
        if (entry.kind == update::EntryKind::Refused)
            return failed(
                u"更新列表中的文件名 \"%1\" 指向 data 文件夹之外,已拒绝下载,本次未下载任何文件."_s.arg(text.trimmed()));
        entries << entry;
    }
    bool bankDownloaded = false;
    int fileCount = 0;
    if (!download(address, entries, &bankDownloaded, &fileCount, &error))
        return failed(error);

    Outcome outcome{Result::NothingDone, {}, {}, fileCount, {}};
    if (bankDownloaded) {
        Q_EMIT step(u"请稍等,正在分析题库升级信息..."_s);
        outcome = merge(update::downloadPath(m_paths, QLatin1StringView(update::kBankEntry)));
        outcome.fileCount = fileCount;
        if (outcome.result == Result::Failed)
            return outcome;
    } else if (fileCount > 0) {
        outcome = {Result::FilesOnly,
                   u"当前有:%1文件已更新,更新目标为data\\*"_s.arg(fileCount),
                   u"相关链接文件已更新"_s,
                   fileCount,
                   {}};
    }
    // Only now that everything arrived does main.ini learn of this update.
    if (!writeDates(list.dateText, days, &error)) {
        outcome.result = Result::Failed;
        outcome.message = error;
        outcome.caption = kErrorCaption;
    }
    return outcome;
}

bool UpdateJob::readUpdateDays(int *days, QString *error) const
{
    IniFile ini(mainIniPath(m_paths));
    ini.load();
    const QString text =
        ini.value(u"config"_s, u"update_days"_s, QString::fromUtf16(configKey(u"update_days"_s).fallback));
    bool ok = false;
    *days = text.trimmed().toInt(&ok);
    if (!ok)
        *error = u"main.ini 中 update_days \"%1\" 不是有效的天数."_s.arg(text);
    return ok;
}

bool UpdateJob::download(const QString &address, const QList<update::Entry> &entries, bool *bank, int *files,
                         QString *error)
{
    for (const update::Entry &entry : entries) {
        if (entry.kind == update::EntryKind::Bank) {
            *bank = true;
            Q_EMIT step(u"请稍等,正在下载最新题库..."_s);
            const QString name = QLatin1StringView(update::kBankEntry);
            if (!m_downloader->fetch(urlOf(address, name), update::downloadPath(m_paths, name), error))
                return false;
        } else if (entry.kind == update::EntryKind::File) {
            ++*files;
            Q_EMIT step(u"请稍等,正在下载最新相关链接文件..."_s);
            const QString target = QDir(m_paths.dataDir()).filePath(entry.relative);
            if (!m_downloader->fetch(urlOf(address, entry.relative), target, error))
                return false;
        }
    }
    return true;
}

UpdateJob::Outcome UpdateJob::runLocal(const QString &bankFile)
{
    Q_EMIT step(u"请稍等,正在分析题库升级信息..."_s);
    return merge(bankFile);
}

UpdateJob::Outcome UpdateJob::merge(const QString &bankFile)
{
    Q_EMIT mergeStarted();
    const QString local = QString::fromLatin1(kLocalConnection);
    const QString incoming = QString::fromLatin1(kIncomingConnection);
    QString error;
    if (!db::openConfigured(m_paths, local, &error))
        return failed(error);
    if (!update::openIncomingBank(bankFile, incoming, &error)) {
        db::closeBank(local);
        return failed(error);
    }
    Outcome outcome;
    {
        BankMerge merge(db::bank(local), db::bank(incoming));
        merge.setTuning(m_tuning);
        merge.onTable = [this, &merge](int table) { Q_EMIT tableMerged(table, merge.report()); };
        merge.onRows = [this] { Q_EMIT rowsMerged(); };
        const bool ok = merge.run();
        outcome.report = merge.report();
        if (ok) {
            outcome.result = Result::Merged;
            outcome.message = outcome.report.join(u'\n');
            outcome.caption = kRecordCaption;
        } else {
            outcome.message = merge.error();
            outcome.caption = kErrorCaption;
        }
    }
    db::closeBank(incoming);
    db::closeBank(local);
    return outcome;
}

bool UpdateJob::writeDates(const QString &listDate, int days, QString *error) const
{
    IniFile ini(mainIniPath(m_paths));
    QString reason;
    if (!ini.load(&reason)) {
        if (error)
            *error = u"无法读取 main.ini: "_s + reason;
        return false;
    }
    const QDate next = Clock::instance().now().date().addDays(days);
    ini.setValue(u"config"_s, u"next_update_time"_s, next.toString(u"yyyy-MM-dd"_s));
    ini.setValue(u"config"_s, u"update_before_time"_s, listDate);
    if (ini.save(&reason))
        return true;
    if (error)
        *error = u"无法写入 main.ini: "_s + reason;
    return false;
}

QString UpdateJob::resultText(const Outcome &outcome, bool local)
{
    switch (outcome.result) {
    case Result::Offline:
    case Result::Failed:
        return u"本次更新失败...."_s;
    case Result::NothingNewer:
    case Result::NoEntries:
        return u"本次没有更新...."_s;
    case Result::Merged:
        return local ? u"本次更新成功...."_s : u"本次更新完成...."_s;
    case Result::FilesOnly:
        return u"本次更新完成...."_s;
    case Result::NothingDone:
        break;
    }
    return {};
}
