#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

namespace update {
struct MergeStatements;
class MergeSource;
}

// The merge engine: copies the rows of a new question bank into the learner's bank table by table.
// For every key of a new row the first local row with that key is overwritten, column by column
// in position order, or, when there is none, the row is appended; the last new row of a key is
// the one that counts, as if the rows were applied one after the other. Nothing is deleted.
//
// The merge is all or nothing, also when the program is killed half-way: the new bank is made
// readable on the local connection (update/mergesource.h) and every table is first planned in
// temporary tables under a read snapshot, which takes no lock a writer waits for; then all nine
// plans are carried out in one write transaction (db::Dialect: BEGIN IMMEDIATE on the file, a
// lock that lets readers go on on the server). A running exambank (which waits at most
// db::kBusyTimeoutMs for the file's write lock; on the server it only reads the content) waits
// only for that transaction, which writes nothing but the rows that change. Should another
// program have changed content rows between planning and writing, the plans are made again
// inside the transaction.
//
// Questions whose key or stem a merge changes are listed in qm_changed (see update/keychanges.h);
// the report ends with how many keys changed and how many of those the learner had answered (on
// the server: any learner, each of whom also gets the list in his own schema).
class BankMerge final
{
public:
    struct Tuning
    {
        // Keys planned per statement; between two of them a window can repaint.
        int windowKeys = 10000;
    };

    BankMerge(const QSqlDatabase &local, const QSqlDatabase &incoming);

    void setTuning(const Tuning &tuning) { m_tuning = tuning; }

    // After each table was written: its 1-based number in merge order.
    std::function<void(int table)> onTable;
    // While the tables are planned, so a window can repaint.
    std::function<void()> onRows;

    // Checks the new bank against the local one before anything is written: every merged table
    // present with at least the local table's columns. Returns false with a reason.
    bool check(QString *error) const;

    // check(), then every table in order. On success the report holds the lines of the nine
    // tables; on an error nothing was changed, the report names the table that failed (if one
    // did) and error() says why.
    bool run();

    const QStringList &report() const { return m_report; }
    // After a successful run: questions whose key this merge changed, and of those the ones the
    // learner had answered before.
    int changedKeys() const { return m_changedKeys; }
    int answeredChanged() const { return m_answeredChanged; }
    QString error() const { return m_error; }

private:
    struct Table;
    QList<Table> tables(const update::MergeSource &source) const;
    void stage(Table &table);
    std::pair<qint64, qint64> localState(const update::MergeStatements &sql) const;
    bool stale(const QList<Table> &tables) const;
    int apply(const Table &table);

    QSqlDatabase m_local;
    QSqlDatabase m_incoming;
    Tuning m_tuning;
    QStringList m_report;
    QString m_error;
    QString m_changedAt; // time of this merge, "yyyyMMddhhmmss"
    bool m_recordChanges = false;
    int m_changedKeys = 0;
    int m_answeredChanged = 0;
};
