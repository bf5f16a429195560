#include "update/incomingbank.h"

#include "update/mergeplan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace update {

namespace {

constexpr auto kUriScheme = "file:";

// SQLite's result code for a damaged database file (SQLITE_CORRUPT).
constexpr auto kCorrupt = "11";

QString damaged(const QString &shown, const QString &detail)
{
    return u"题库文件不完整或已损坏,未作任何更新: %1 (%2)"_s.arg(shown, detail);
}

// Why the opened bank cannot be merged from, or nothing.
QString refusal(const QSqlDatabase &db, const QString &shown)
{
    // The first read tells whether this is an SQLite file at all; a file cut short fails here.
    if (QSqlQuery probe(db); !probe.exec(u"SELECT COUNT(*) FROM sqlite_master"_s)) {
        const QSqlError e = probe.lastError();
        return e.nativeErrorCode() == QLatin1StringView(kCorrupt)
                   ? damaged(shown, e.databaseText())
                   : u"不是有效的题库文件: %1 (%2)"_s.arg(shown, e.text());
    }
    const QStringList tables = db.tables(QSql::Tables);
    for (const MergeTable &t : mergePlan()) {
        if (!tables.contains(t.name, Qt::CaseInsensitive))
            return u"不是有效的题库文件: %1 (缺少数据表 %2)"_s.arg(shown, t.name);
    }
    QSqlQuery check(db);
    if (!check.exec(u"PRAGMA quick_check"_s))
        return damaged(shown, check.lastError().databaseText());
    const QString verdict = check.next() ? check.value(0).toString() : QString();
    if (verdict != u"ok")
        return damaged(shown, verdict);
    return {};
}

} // namespace

QString readOnlyUri(const QString &path)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    const bool live = QFile::exists(file + u"-wal"_s) || QFile::exists(file + u"-journal"_s);
    return QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) + (live ? u"?mode=ro"_s : u"?mode=ro&immutable=1"_s);
}

QString readOnlyName(const QSqlDatabase &db)
{
    const QString name = db.databaseName();
    return name.startsWith(QLatin1StringView(kUriScheme)) ? name : readOnlyUri(name);
}

QString bankFile(const QSqlDatabase &db)
{
    const QString name = db.databaseName();
    return name.startsWith(QLatin1StringView(kUriScheme)) ? QUrl(name).toLocalFile() : name;
}

bool openIncomingBank(const QString &path, const QString &connectionName, QString *error)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    QString reason;
    if (!info.isFile() || !info.isReadable()) {
        reason = u"题库文件不存在或无法读取: "_s + shown;
    } else {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, connectionName);
        db.setDatabaseName(readOnlyUri(info.absoluteFilePath()));
        db.setConnectOptions(u"QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"_s);
        if (!db.open())
            reason = u"无法打开题库文件 %1: %2"_s.arg(shown, db.lastError().text());
        else
            reason = refusal(db, shown);
        if (!reason.isEmpty())
            db.close();
    }
    if (reason.isEmpty())
        return true;
    if (QSqlDatabase::contains(connectionName))
        QSqlDatabase::removeDatabase(connectionName);
    if (error)
        *error = reason;
    return false;
}

} // namespace update
