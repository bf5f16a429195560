#pragma once

#include <QSqlDatabase>
#include <QString>

namespace update {

// Opens a bank to merge from, read-only, under connectionName. Refuses a missing file, a file that
// is not an SQLite database, a database without the merged tables and a damaged or incomplete
// one (PRAGMA quick_check); nothing is written to it and no journal appears beside it.
bool openIncomingBank(const QString &path, const QString &connectionName, QString *error);

// The SQLite URI that opens path read-only. Unless a journal or WAL file lies beside it (someone
// may still be writing it), the file is also taken as immutable, so that SQLite creates no
// -wal or -shm file beside a WAL-mode bank.
QString readOnlyUri(const QString &path);

// The read-only name of a bank connection: its own URI, or readOnlyUri() of its file.
QString readOnlyName(const QSqlDatabase &db);

// The file of a bank connection, opened by a path or by a URI.
QString bankFile(const QSqlDatabase &db);

} // namespace update
