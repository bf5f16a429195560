#include "db/connection.h"

#include "db/schema.h"
#include "db/server.h"
#include "db/sql.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>

using namespace Qt::StringLiterals;

namespace db {

QString bankPath(const AppPaths &paths)
{
    return paths.bank();
}

bool openBank(const QString &path, const QString &connectionName, QString *error)
{
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        closeBank(connectionName);
        return false;
    };
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return fail(u"题库文件不存在或无法读取: "_s + QDir::toNativeSeparators(path));

    closeBank(connectionName);
    QSqlDatabase database = QSqlDatabase::addDatabase(u"QSQLITE"_s, connectionName);
    database.setDatabaseName(path);
    // URI names let the connection attach another bank read-only (the updater's merge); a plain
    // path such as this one is read as before.
    database.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=%1;QSQLITE_OPEN_URI"_s.arg(kBusyTimeoutMs));
    if (!database.open())
        return fail(database.lastError().text());
    try {
        // The first read tells whether this is an SQLite file at all.
        const QStringList tables = existingTables(database);
        if (database.lastError().isValid())
            return fail(database.lastError().text());
        run(database, u"SELECT COUNT(*) FROM sqlite_master"_s);
        if (!tables.contains(u"ex_page_id"_s, Qt::CaseInsensitive))
            return fail(u"不是有效的题库文件: "_s + QDir::toNativeSeparators(path));
        run(database, u"PRAGMA journal_mode=WAL"_s);
        run(database, u"PRAGMA synchronous=NORMAL"_s);
        // The selections walk indexes of a million answer records; a page cache of 64 MB keeps
        // them in the process instead of reading each page from the system again.
        run(database, u"PRAGMA cache_size=-65536"_s);
        ensureSchema(database);
    } catch (const Error &e) {
        return fail(e.message());
    }
    return true;
}

void closeBank(const QString &connectionName)
{
    if (!QSqlDatabase::contains(connectionName))
        return;
    {
        QSqlDatabase database = QSqlDatabase::database(connectionName, false);
        database.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

bool openConfigured(const AppPaths &paths, const QString &connectionName, QString *error, const Login *learner)
{
    QString configError;
    const ServerConfig server = readServerConfig(paths, &configError);
    if (!configError.isEmpty()) {
        if (error)
            *error = configError;
        return false;
    }
    if (!server.configured())
        return openBank(bankPath(paths), connectionName, error);
    if (learner)
        return openServer(server, learner->user, learner->password, ServerRole::Learner, connectionName, error);
    return openServer(server, server.user, server.password, ServerRole::Maintainer, connectionName, error);
}

bool serverConfigured(const AppPaths &paths)
{
    return readServerConfig(paths).configured();
}

QSqlDatabase bank(const QString &connectionName)
{
    return QSqlDatabase::database(connectionName, false);
}

} // namespace db
