#include "update/bankmerge.h"

#include "db/schema.h"
#include "db/server.h"
#include "db/sql.h"
#include "records/changedquestions.h"
#include "shell/clock.h"
#include "update/incomingbank.h"
#include "update/keychanges.h"
#include "update/mergeplan.h"
#include "update/mergesource.h"
#include "update/mergesql.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QStringList columnNames(const QSqlDatabase &db, const QString &table)
{
    const QSqlRecord record = db.record(table);
    QStringList names;
    for (int k = 0; k < record.count(); ++k)
        names << record.fieldName(k);
    return names;
}

// The column of that name as the table spells it.
QString spelled(const QStringList &columns, const QString &name)
{
    for (const QString &c : columns) {
        if (c.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    return name;
}

bool hasTable(const QSqlDatabase &db, const QString &table)
{
    return db::existingTables(db).contains(table, Qt::CaseInsensitive);
}

// Whether the merge can tell the table's rows by their row numbers: not in a table WITHOUT ROWID,
// nor where a column of that name hides them.
bool hasRowNumbers(const QSqlDatabase &db, const QStringList &columns, const QString &table)
{
    for (const QString &hidden : {u"rowid"_s, u"_rowid_"_s, u"oid"_s}) {
        if (columns.contains(hidden, Qt::CaseInsensitive))
            return false;
    }
    QSqlQuery q(db);
    q.prepare(u"SELECT wr FROM pragma_table_list WHERE schema = 'main' AND name = ? COLLATE NOCASE"_s);
    q.addBindValue(table);
    // An SQLite too old to list its tables has no tables without rowid either.
    return !q.exec() || !q.next() || q.value(0).toInt() == 0;
}

void runAll(const QSqlDatabase &db, const QStringList &statements)
{
    for (const QString &sql : statements)
        db::run(db, sql);
}

// A transaction begun with the given statements, rolled back unless committed.
class Transaction final
{
public:
    Transaction(const QSqlDatabase &db, const QStringList &begin)
        : m_db(db)
    {
        db::run(m_db, begin.first());
        try {
            for (qsizetype k = 1; k < begin.size(); ++k)
                db::run(m_db, begin.at(k));
        } catch (const db::Error &) {
            rollback();
            throw;
        }
    }
    ~Transaction()
    {
        if (!m_done)
            rollback();
    }
    void commit()
    {
        db::run(m_db, u"COMMIT"_s);
        m_done = true;
    }

private:
    Q_DISABLE_COPY_MOVE(Transaction)
    void rollback()
    {
        QSqlQuery q(m_db);
        q.exec(u"ROLLBACK"_s);
        m_done = true;
    }

    QSqlDatabase m_db;
    bool m_done = false;
};

} // namespace

struct BankMerge::Table
{
    enum class Way { Nothing, Copy, Plan };

    update::MergeTable plan;
    update::MergeStatements sql;
    Way way = Way::Nothing;
    QStringList changes; // statements that list changed questions before the overwrite
    // The local table's row count and largest row number when it was planned.
    std::pair<qint64, qint64> localState;
};

BankMerge::BankMerge(const QSqlDatabase &local, const QSqlDatabase &incoming)
    : m_local(local)
    , m_incoming(incoming)
{
}

bool BankMerge::check(QString *error) const
{
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    for (const update::MergeTable &t : update::mergePlan()) {
        if (!hasTable(m_incoming, t.name))
            return fail(u"新题库缺少数据表 %1,不能用于更新."_s.arg(t.name));
        if (!hasTable(m_local, t.name))
            return fail(u"本机题库缺少数据表 %1."_s.arg(t.name));
        const QStringList incoming = columnNames(m_incoming, t.name);
        const QStringList local = columnNames(m_local, t.name);
        if (incoming.size() < local.size())
            return fail(u"新题库的数据表 %1 只有 %2 列,本机题库的该表有 %3 列,不能用于更新."_s.arg(t.name)
                            .arg(incoming.size())
                            .arg(local.size()));
        if (!hasRowNumbers(m_incoming, incoming, t.name))
            return fail(u"新题库的数据表 %1 没有行号 (WITHOUT ROWID 或名为 rowid 的列),不能用于更新."_s.arg(t.name));
        for (const update::MergeKey &key : t.keys) {
            if (!local.contains(key.localColumn, Qt::CaseInsensitive))
                return fail(u"本机题库的数据表 %1 缺少列 %2."_s.arg(t.name, key.localColumn));
            if (key.newPosition < 0 && !incoming.contains(key.localColumn, Qt::CaseInsensitive))
                return fail(u"新题库的数据表 %1 缺少列 %2,不能用于更新."_s.arg(t.name, key.localColumn));
        }
    }
    return true;
}

QList<BankMerge::Table> BankMerge::tables(const update::MergeSource &source) const
{
    QList<Table> out;
    const auto &plan = update::mergePlan();
    for (qsizetype k = 0; k < plan.size(); ++k) {
        const update::MergeTable &t = plan.at(k);
        const QStringList localColumns = columnNames(m_local, t.name);
        const QStringList incomingAll = columnNames(m_incoming, t.name);
        QStringList localKeys, incomingKeys;
        for (const update::MergeKey &key : t.keys) {
            localKeys << spelled(localColumns, key.localColumn);
            incomingKeys << (key.newPosition >= 0 ? incomingAll.at(key.newPosition)
                                                  : spelled(incomingAll, key.localColumn));
        }
        const QStringList incomingColumns = incomingAll.mid(0, localColumns.size());
        const update::MergeNames names = source.names(t.name);
        Table table{t,
                    update::mergeStatements(names, int(k), t.name, localColumns, incomingColumns, localKeys,
                                            incomingKeys),
                    Table::Way::Nothing,
                    {},
                    {0, 0}};
        table.changes = update::changeStatements(names, t.name, localColumns, incomingColumns, table.sql.planTable);
        out << table;
    }
    return out;
}

bool BankMerge::run()
{
    m_report.clear();
    m_error.clear();
    m_changedKeys = m_answeredChanged = 0;
    m_changedAt = Clock::instance().now().toString(u"yyyyMMddHHmmss"_s);
    if (!check(&m_error))
        return false;
    const auto &plan = update::mergePlan();
    // A bank merged into itself finds every row in place.
    if (update::MergeSource::sameFile(m_local, m_incoming)) {
        for (qsizetype k = 0; k < plan.size(); ++k) {
            m_report << plan.at(k).label + u'0' + QString::fromUtf8(update::kCountSuffix)
                     << QLatin1StringView(update::kReportRule);
            if (onTable)
                onTable(int(k + 1));
        }
        m_report << records::changedReportLines(0, 0) << QLatin1StringView(update::kReportRule);
        return true;
    }

    std::unique_ptr<update::MergeSource> source;
    try {
        m_recordChanges = hasTable(m_local, u"qm_changed"_s);
        source = update::MergeSource::open(m_local, m_incoming, onRows);
    } catch (const db::Error &e) {
        m_error = e.message();
        return false;
    }
    const db::Dialect &dialect = db::dialect(m_local);
    QList<Table> all = tables(*source);
    QStringList lock{QString::fromUtf16(dialect.beginWrite)};
    if (dialect.lockTables) {
        QStringList names;
        for (const update::MergeTable &t : plan)
            names << db::quoteIdentifier(t.name);
        if (m_recordChanges)
            names << u"qm_changed"_s;
        lock << QString::fromUtf16(dialect.lockTables).arg(names.join(u", "_s));
    }
    qsizetype current = -1;
    try {
        {
            // One snapshot of the local bank for all plans; a reader does not hold up exambank.
            Transaction read(m_local, {QString::fromUtf16(dialect.beginSnapshot)});
            for (current = 0; current < all.size(); ++current)
                stage(all[current]);
            read.commit();
        }
        current = -1;
        Transaction write(m_local, lock);
        if (stale(all)) {
            for (current = 0; current < all.size(); ++current)
                stage(all[current]);
        }
        for (current = 0; current < all.size(); ++current) {
            const int appended = apply(all.at(current));
            m_report << all.at(current).plan.label + QString::number(appended) + QString::fromUtf8(update::kCountSuffix)
                     << QLatin1StringView(update::kReportRule);
            if (onTable)
                onTable(int(current + 1));
        }
        current = -1;
        if (m_recordChanges) {
            m_changedKeys = records::changedKeysAt(m_local, m_changedAt);
            m_answeredChanged = source->shareChanges(m_changedAt);
        }
        write.commit();
        m_report << records::changedReportLines(m_changedKeys, m_answeredChanged)
                 << QLatin1StringView(update::kReportRule);
    } catch (const db::Error &e) {
        m_report.clear();
        if (current >= 0) {
            const update::MergeTable &t = all.at(current).plan;
            m_error = u"合并数据表 %1 时出错,本次更新已全部撤销,题库未作任何修改: %2"_s.arg(t.name, e.message());
            m_report << t.label + u"出错,题库未作任何修改"_s << QLatin1StringView(update::kReportRule);
        } else {
            m_error = u"更新题库时出错,本次更新已全部撤销,题库未作任何修改: "_s + e.message();
        }
    }
    QSqlQuery cleanUp(m_local);
    for (const Table &t : all) {
        for (const QString &statement : t.sql.cleanUp)
            cleanUp.exec(db::adapt(m_local, statement));
    }
    return m_error.isEmpty();
}

void BankMerge::stage(Table &table)
{
    const update::MergeStatements &sql = table.sql;
    table.localState = localState(sql);
    const qint64 rows = db::scalar(m_local, sql.incomingRows, {}, 0).toLongLong();
    if (rows == 0) {
        table.way = Table::Way::Nothing;
        return;
    }
    // Into an empty table, new rows whose keys all differ arrive as they are: no row can be found.
    if (!db::scalar(m_local, sql.localHasRows).toBool() &&
        db::scalar(m_local, sql.incomingKeys, {}, 0).toLongLong() == rows) {
        table.way = Table::Way::Copy;
        return;
    }
    table.way = Table::Way::Plan;
    runAll(m_local, sql.numberKeys);
    runAll(m_local, sql.createPlan);
    const qint64 keys = db::scalar(m_local, u"SELECT COUNT(*) FROM {temp}.qm_keys"_s, {}, 0).toLongLong();
    const int window = qMax(1, m_tuning.windowKeys);
    QSqlQuery plan(m_local);
    if (!plan.prepare(db::adapt(m_local, sql.plan)))
        throw db::Error(plan.lastError().text());
    for (qint64 first = 1; first <= keys; first += window) {
        plan.bindValue(0, first);
        plan.bindValue(1, first + window - 1);
        if (!plan.exec())
            throw db::Error(plan.lastError().text());
        if (onRows)
            onRows();
    }
    runAll(m_local, sql.dropKeys);
}

std::pair<qint64, qint64> BankMerge::localState(const update::MergeStatements &sql) const
{
    QSqlQuery state = db::run(m_local, sql.localState);
    if (!state.next())
        return {0, 0};
    return {state.value(0).toLongLong(), state.value(1).toLongLong()};
}

bool BankMerge::stale(const QList<Table> &tables) const
{
    return std::any_of(tables.begin(), tables.end(),
                       [this](const Table &t) { return localState(t.sql) != t.localState; });
}

int BankMerge::apply(const Table &table)
{
    switch (table.way) {
    case Table::Way::Nothing:
        return 0;
    case Table::Way::Copy:
        return db::run(m_local, table.sql.copy).numRowsAffected();
    case Table::Way::Plan:
        if (m_recordChanges) {
            for (const QString &statement : table.changes)
                db::run(m_local, statement, {m_changedAt});
        }
        db::run(m_local, table.sql.overwrite);
        return db::run(m_local, table.sql.append).numRowsAffected();
    }
    return 0;
}
