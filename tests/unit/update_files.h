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

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace updatetest
