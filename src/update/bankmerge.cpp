#include "update/bankmerge.h"

#include "db/sql.h"
#include "update/mergeplan.h"
#include "update/mergesql.h"
#include "update/writelock.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <limits>

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
    return db.tables(QSql::Tables).contains(table, Qt::CaseInsensitive);
}

void runAll(const QSqlDatabase &db, const QStringList &statements)
{
    for (const QString &sql : statements)
        db::run(db, sql);
}

void exec(QSqlQuery &query)
{
    if (!query.exec())
        throw db::Error(query.lastError().text());
}

QSqlQuery prepared(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.prepare(sql))
        throw db::Error(query.lastError().text());
    return query;
}

// Attaches the new bank to the local connection for as long as it lives.
class Attachment final
{
public:
    Attachment(const QSqlDatabase &local, const QString &path)
        : m_db(local)
    {
        db::run(m_db, u"ATTACH DATABASE ? AS "_s + QLatin1StringView(update::kIncomingSchema), {path});
    }
    ~Attachment()
    {
        QSqlQuery q(m_db);
        q.exec(u"DETACH DATABASE "_s + QLatin1StringView(update::kIncomingSchema));
    }

private:
    Q_DISABLE_COPY_MOVE(Attachment)
    QSqlDatabase m_db;
};

} // namespace

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
        for (const update::MergeKey &key : t.keys) {
            if (!local.contains(key.localColumn, Qt::CaseInsensitive))
                return fail(u"本机题库的数据表 %1 缺少列 %2."_s.arg(t.name, key.localColumn));
            if (key.newPosition < 0 && !incoming.contains(key.localColumn, Qt::CaseInsensitive))
                return fail(u"新题库的数据表 %1 缺少列 %2,不能用于更新."_s.arg(t.name, key.localColumn));
        }
    }
    return true;
}

bool BankMerge::sameFile() const
{
    const QString local = QFileInfo(m_local.databaseName()).canonicalFilePath();
    return !local.isEmpty() && local == QFileInfo(m_incoming.databaseName()).canonicalFilePath();
}

bool BankMerge::run()
{
    m_report.clear();
    m_error.clear();
    if (!check(&m_error))
        return false;
    const auto &plan = update::mergePlan();
    // A bank merged into itself finds every row in place.
    if (sameFile()) {
        for (qsizetype k = 0; k < plan.size(); ++k) {
            m_report << plan.at(k).label + u'0' + QString::fromUtf8(update::kCountSuffix)
                     << QLatin1StringView(update::kReportRule);
            if (onTable)
                onTable(int(k + 1));
        }
        return true;
    }
    try {
        db::run(m_local, u"PRAGMA temp_store=MEMORY"_s);
        Attachment attached(m_local, QFileInfo(m_incoming.databaseName()).absoluteFilePath());
        // One lock for all tables, so that a waiting writer gets its turn across them as well.
        update::WriteLock lock(m_local, m_tuning.lockHoldMs, m_tuning.pauseMs);
        for (qsizetype k = 0; k < plan.size(); ++k) {
            if (!mergeTable(int(k), lock))
                return false;
            if (onTable)
                onTable(int(k + 1));
        }
    } catch (const db::Error &e) {
        m_error = u"新题库无法读取: "_s + e.message();
        return false;
    }
    return true;
}

bool BankMerge::mergeTable(int index, update::WriteLock &lock)
{
    const update::MergeTable &t = update::mergePlan().at(index);
    const QStringList localColumns = columnNames(m_local, t.name);
    const QStringList incomingAll = columnNames(m_incoming, t.name);
    QStringList localKeys, incomingKeys;
    for (const update::MergeKey &key : t.keys) {
        localKeys << spelled(localColumns, key.localColumn);
        incomingKeys << (key.newPosition >= 0 ? incomingAll.at(key.newPosition)
                                              : spelled(incomingAll, key.localColumn));
    }
    const update::MergeStatements sql =
        update::mergeStatements(t.name, localColumns, incomingAll.mid(0, localColumns.size()), localKeys, incomingKeys);

    const int commitsBefore = lock.commits();
    const int window = qMax(1, m_tuning.windowKeys);
    bool several = false;
    qint64 lastRowBefore = 0;
    int appended = 0;
    try {
        const qint64 rows = db::scalar(m_local, sql.incomingRows, {}, 0).toLongLong();
        several = rows > window;
        if (several) {
            lastRowBefore = db::scalar(m_local, u"SELECT MAX(rowid) FROM main."_s + t.name, {}, 0).toLongLong();
            runAll(m_local, sql.startUndo);
        }
        // Into an empty table, new rows whose keys all differ arrive as they are: no row can be found.
        const bool copy = !db::scalar(m_local, sql.localHasRows).toBool() &&
                          db::scalar(m_local, sql.incomingKeys, {}, 0).toLongLong() == rows;
        appended = copy ? copyRows(sql, lock, window) : mergeRows(sql, lock, window);
    } catch (const db::Error &e) {
        lock.rollback();
        m_error = u"合并数据表 %1 时出错,该表的修改已撤销: %2"_s.arg(t.name, e.message());
        bool restored = true;
        if (lock.commits() > commitsBefore && several) {
            try {
                lock.transaction([&] {
                    for (const QString &statement : sql.restore)
                        db::run(m_local, statement,
                                statement.contains(u'?') ? QVariantList{lastRowBefore} : QVariantList{});
                });
            } catch (const db::Error &undo) {
                lock.rollback();
                m_error = u"合并数据表 %1 时出错: %2; 该表无法恢复原状: %3"_s.arg(t.name, e.message(), undo.message());
                restored = false;
            }
        }
        m_report << t.label + (restored ? u"出错,本表未更新"_s : u"出错,本表未能恢复原状"_s)
                 << QLatin1StringView(update::kReportRule);
    }
    QSqlQuery cleanUp(m_local);
    for (const QString &statement : sql.cleanUp)
        cleanUp.exec(statement);
    if (!m_error.isEmpty())
        return false;
    m_report << t.label + QString::number(appended) + QString::fromUtf8(update::kCountSuffix)
             << QLatin1StringView(update::kReportRule);
    return true;
}

int BankMerge::mergeRows(const update::MergeStatements &sql, update::WriteLock &lock, int window)
{
    runAll(m_local, sql.numberKeys);
    const qint64 keys = db::scalar(m_local, u"SELECT COUNT(*) FROM temp.qm_keys"_s, {}, 0).toLongLong();
    QSqlQuery overwrite = prepared(m_local, sql.overwrite);
    QSqlQuery append = prepared(m_local, sql.append);
    int appended = 0;
    for (qint64 first = 1; first <= keys; first += window) {
        lock.transaction([&] {
            for (QSqlQuery *q : {&overwrite, &append}) {
                q->bindValue(0, first);
                q->bindValue(1, first + window - 1);
                exec(*q);
            }
            appended += append.numRowsAffected();
        });
        if (onRows)
            onRows();
    }
    return appended;
}

int BankMerge::copyRows(const update::MergeStatements &sql, update::WriteLock &lock, int window)
{
    QSqlQuery next = prepared(m_local, sql.nextWindow);
    QSqlQuery copy = prepared(m_local, sql.copy);
    int appended = 0;
    // Windows of row numbers as the new table has them, which need not be consecutive.
    QVariant after = std::numeric_limits<qint64>::min();
    for (;;) {
        next.bindValue(0, after);
        next.bindValue(1, window);
        exec(next);
        const QVariant last = next.next() ? next.value(0) : QVariant();
        next.finish();
        if (last.isNull())
            break;
        lock.transaction([&] {
            copy.bindValue(0, after);
            copy.bindValue(1, last);
            exec(copy);
            appended += copy.numRowsAffected();
        });
        after = last;
        if (onRows)
            onRows();
    }
    return appended;
}
