#pragma once

#include <QString>

namespace update {

// Opens a bank to merge from, read-only, under connectionName. Refuses a missing file, a file that
// is not an SQLite database and a database without the merged tables; nothing is written to it.
bool openIncomingBank(const QString &path, const QString &connectionName, QString *error);

} // namespace update
