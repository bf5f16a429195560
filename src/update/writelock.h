#pragma once

#include <QElapsedTimer>
#include <QSqlDatabase>

#include <functional>

namespace update {

// The write lock of a connection, taken with BEGIN IMMEDIATE one transaction at a time. A commit
// after the lock was held for holdMs (over consecutive transactions) is followed by a pause of
// pauseMs, so that a writer of another connection that is waiting gets its turn.
class WriteLock final
{
public:
    WriteLock(const QSqlDatabase &db, int holdMs, int pauseMs);
    ~WriteLock();

    // Runs work as one transaction; throws db::Error (the transaction is then still open).
    void transaction(const std::function<void()> &work);
    void rollback();
    // Transactions committed so far: work committed before an error cannot be rolled back.
    int commits() const { return m_commits; }

private:
    Q_DISABLE_COPY_MOVE(WriteLock)
    QSqlDatabase m_db;
    int m_holdMs;
    int m_pauseMs;
    QElapsedTimer m_held;
    bool m_open = false;
    int m_commits = 0;
};

} // namespace update
