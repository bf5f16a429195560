#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>

namespace update {
class WriteLock;
struct MergeStatements;
} // namespace update

// The merge engine: copies the rows of a new question bank into the learner's bank table by table.
// For every key of a new row the first local row with that key is overwritten, column by column
// in position order, or, when there is none, the row is appended; the last new row of a key is
// the one that counts, as if the rows were applied one after the other. Nothing is deleted.
//
// The new bank is attached to the local connection and each table is merged with a few set-wise
// statements, prepared once per table and run over windows of keys (into an empty table, new rows
// with distinct keys are copied over windows of rows). Each window is one short
// BEGIN IMMEDIATE transaction; after the write lock was held for a while comes a pause longer than
// SQLite's busy handler sleeps, so that a running exambank (which waits at most db::kBusyTimeoutMs)
// keeps working. An error undoes the table being merged; the tables before it stay merged.
class BankMerge final
{
public:
    struct Tuning
    {
        // Keys per window (per transaction).
        int windowKeys = 10000;
        // Longest hold of the write lock, over consecutive windows, before a pause.
        int lockHoldMs = 1000;
        // Longer than the longest sleep of SQLite's busy handler, so a waiting writer gets its turn.
        int pauseMs = 120;
    };

    BankMerge(const QSqlDatabase &local, const QSqlDatabase &incoming);

    void setTuning(const Tuning &tuning) { m_tuning = tuning; }

    // After each table: its 1-based number in merge order. Reported per table as the window's bar needs.
    std::function<void(int table)> onTable;
    // After each window, so a window can repaint.
    std::function<void()> onRows;

    // Checks the new bank against the local one before anything is written: every merged table
    // present with at least the local table's columns. Returns false with a reason.
    bool check(QString *error) const;

    // check(), then every table in order. The report holds the lines of the tables merged; on an
    // error it ends with a line naming the table that was undone, and error() says why.
    bool run();

    const QStringList &report() const { return m_report; }
    QString error() const { return m_error; }

private:
    bool mergeTable(int index, update::WriteLock &lock);
    // Both merge a table window by window and give the number of rows appended; throw db::Error.
    int mergeRows(const update::MergeStatements &sql, update::WriteLock &lock, int window);
    int copyRows(const update::MergeStatements &sql, update::WriteLock &lock, int window);
    bool sameFile() const;

    QSqlDatabase m_local;
    QSqlDatabase m_incoming;
    Tuning m_tuning;
    QStringList m_report;
    QString m_error;
};
