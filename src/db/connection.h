#pragma once

#include "shell/apppaths.h"

#include <QSqlDatabase>
#include <QString>

// The question bank file data/sys.htm opened through Qt SQL's SQLite driver. Both programs open it
// through openBank(); each thread uses a connection of its own name.
namespace db {

inline constexpr auto kMainConnection = "quillmark";
inline constexpr int kBusyTimeoutMs = 8000;

QString bankPath(const AppPaths &paths);

// Opens path as a question bank under connectionName: WAL journal, synchronous NORMAL, the busy
// timeout above, missing session tables created. Fails (with a reason) when the file is missing,
// is not an SQLite database, or holds no question table; nothing is created then.
bool openBank(const QString &path, const QString &connectionName, QString *error);

void closeBank(const QString &connectionName);

QSqlDatabase bank(const QString &connectionName = QString::fromLatin1(kMainConnection));

} // namespace db
