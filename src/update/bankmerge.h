#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>

// The merge engine: copies the rows of a new question bank into the learner's bank table by table.
// A row whose key is found overwrites the first local row with that key, column by column in
// position order; any other row is appended. Nothing is deleted. Each table is written in
// BEGIN IMMEDIATE transactions that stay short, with a pause after a long hold of the write lock,
// so that a running exambank (which waits at most db::kBusyTimeoutMs for the lock) keeps working.
// An error undoes the table being merged; the tables before it stay merged.
class BankMerge final
{
public:
    struct Tuning
    {
        // A table with at most this many new rows is merged in one transaction; a larger one is
        // committed in batches, with a copy of the local table kept to undo it on an error.
        int singleTransactionRows = 20000;
        // Longest hold of the write lock before a commit and a pause.
        int lockHoldMs = 400;
        // Longer than the longest sleep of SQLite's busy handler, so a waiting writer gets its turn.
        int pauseMs = 120;
    };

    BankMerge(const QSqlDatabase &local, const QSqlDatabase &incoming);

    void setTuning(const Tuning &tuning) { m_tuning = tuning; }

    // After each table: its 1-based number in merge order. Reported per table as the window's bar needs.
    std::function<void(int table)> onTable;
    // Every few hundred rows, so a window can repaint.
    std::function<void()> onRows;

    // Checks the new bank against the local one before anything is written: every merged table
    // present with at least the local table's columns. Returns false with a reason.
    bool check(QString *error) const;

    // check(), then every table in order. The report holds the lines of the tables merged; on an
    // error it ends with a line naming the table that was undone, and error() says why.
    bool run();

    const QStringList &report() const { return m_report; }
    QList<int> appended() const { return m_appended; }
    QString error() const { return m_error; }

private:
    bool mergeTable(int index);

    QSqlDatabase m_local;
    QSqlDatabase m_incoming;
    Tuning m_tuning;
    QStringList m_report;
    QList<int> m_appended;
    QString m_error;
};

namespace update {

// Opens a bank to merge from, read-only, under connectionName. Refuses a missing file, a file that
// is not an SQLite database and a database without the merged tables; nothing is written to it.
bool openIncomingBank(const QString &path, const QString &connectionName, QString *error);

} // namespace update
