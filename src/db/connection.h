#pragma once

#include "shell/apppaths.h"

#include <QSqlDatabase>
#include <QString>

// The question bank: the file data/sys.htm through Qt SQL's SQLite driver, or a training centre's
// PostgreSQL server (db/server.h). Each thread uses a connection of its own name.
namespace db {

inline constexpr auto kMainConnection = "quillmark";
inline constexpr int kBusyTimeoutMs = 8000;

QString bankPath(const AppPaths &paths);

// Opens path as a question bank under connectionName: WAL journal, synchronous NORMAL, the busy
// timeout above, missing session tables created. Fails (with a reason) when the file is missing,
// is not an SQLite database, or holds no question table; nothing is created then.
bool openBank(const QString &path, const QString &connectionName, QString *error);

void closeBank(const QString &connectionName);

// A learner's name and password for the server; the SQLite file needs none.
struct Login
{
    QString user;
    QString password;
};

// The one place both programs open their bank: the server when main.ini names one ([server]), as
// the learner when a login is given, else as the centre's maintenance account of main.ini; the
// file data/sys.htm otherwise. Everything above runs the same statements on either.
bool openConfigured(const AppPaths &paths, const QString &connectionName, QString *error,
                    const Login *learner = nullptr);

// Whether main.ini names a server (and so the start-up login is the learner's).
bool serverConfigured(const AppPaths &paths);

QSqlDatabase bank(const QString &connectionName = QString::fromLatin1(kMainConnection));

} // namespace db
