#pragma once

#include "db/sql.h"
#include "support/testbank.h"

#include <QFile>

// File contents the updater tests compare: a bank as a server hands it out, and any file.
namespace updatetest {

// The bank's file with everything written so far in it (the WAL checkpointed first).
inline QByteArray bankBytes(const TestBank &bank)
{
    db::run(bank.db(), QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    QFile f(bank.path(QStringLiteral("data/sys.htm")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The bank's file with the first page of one table overwritten, as a damaged copy would hold it;
// the file keeps its length and its list of tables.
inline QByteArray damagedBankBytes(const TestBank &bank, const QString &table)
{
    QByteArray bytes = bankBytes(bank);
    const int pageSize = db::scalar(bank.db(), QStringLiteral("PRAGMA page_size")).toInt();
    const int root =
        db::scalar(bank.db(), QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = ?"), {table}).toInt();
    bytes.replace(qsizetype(root - 1) * pageSize, pageSize, QByteArray(pageSize, '\xEE'));
    return bytes;
}

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace updatetest
