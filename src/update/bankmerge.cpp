#include "update/bankmerge.h"

#include "db/sql.h"
#include "update/mergeplan.h"
#include "update/mergesql.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

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

// The write lock of the local connection. A commit after a long hold is followed by a pause, so a
// writer that is waiting gets the lock before the next window begins.
class WriteLock final
{
public:
    WriteLock(const QSqlDatabase &db, const BankMerge::Tuning &tuning)
        : m_db(db)
        , m_tuning(tuning)
    {
    }
    ~WriteLock()
    {
        if (m_open)
            rollback();
    }

    void begin()
    {
        db::run(m_db, u"BEGIN IMMEDIATE"_s);
        m_open = true;
        if (!m_held.isValid())
            m_held.start();
    }
    void commit()
    {
        db::run(m_db, u"COMMIT"_s);
        m_open = false;
        if (m_held.elapsed() >= m_tuning.lockHoldMs) {
            QThread::msleep(m_tuning.pauseMs);
            m_held.invalidate();
        }
    }
    void rollback()
    {
        QSqlQuery q(m_db);
        q.exec(u"ROLLBACK"_s);
        m_open = false;
    }

private:
    Q_DISABLE_COPY_MOVE(WriteLock)
    QSqlDatabase m_db;
    BankMerge::Tuning m_tuning;
    QElapsedTimer m_held;
    bool m_open = false;
};

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
    m_appended.clear();
    m_error.clear();
    if (!check(&m_error))
        return false;
    const auto &plan = update::mergePlan();
    // A bank merged into itself finds every row in place.
    if (sameFile()) {
        for (qsizetype k = 0; k < plan.size(); ++k) {
            m_appended << 0;
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
        for (qsizetype k = 0; k < plan.size(); ++k) {
            if (!mergeTable(int(k)))
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

bool BankMerge::mergeTable(int index)
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

    WriteLock lock(m_local, m_tuning);
    bool committedPart = false;
    bool several = false;
    int appended = 0;
    qint64 lastRowBefore = 0;
    try {
        runAll(m_local, sql.numberKeys);
        const qint64 keys = db::scalar(m_local, u"SELECT COUNT(*) FROM temp.qm_keys"_s, {}, 0).toLongLong();
        const int window = qMax(1, m_tuning.windowKeys);
        several = keys > window;
        if (several) {
            lastRowBefore = db::scalar(m_local, u"SELECT MAX(rowid) FROM main."_s + t.name, {}, 0).toLongLong();
            runAll(m_local, sql.startUndo);
        }
        QSqlQuery overwrite(m_local), append(m_local);
        if (!overwrite.prepare(sql.overwrite) || !append.prepare(sql.append))
            throw db::Error(overwrite.lastError().text() + append.lastError().text());
        for (qint64 first = 1; first <= keys; first += window) {
            const qint64 last = first + window - 1;
            lock.begin();
            overwrite.bindValue(0, first);
            overwrite.bindValue(1, last);
            if (!overwrite.exec())
                throw db::Error(overwrite.lastError().text());
            append.bindValue(0, first);
            append.bindValue(1, last);
            if (!append.exec())
                throw db::Error(append.lastError().text());
            appended += append.numRowsAffected();
            lock.commit();
            committedPart = true;
            if (onRows)
                onRows();
        }
    } catch (const db::Error &e) {
        lock.rollback();
        m_error = u"合并数据表 %1 时出错,该表的修改已撤销: %2"_s.arg(t.name, e.message());
        if (committedPart && several) {
            try {
                lock.begin();
                for (const QString &statement : sql.restore)
                    db::run(m_local, statement,
                            statement.contains(u'?') ? QVariantList{lastRowBefore} : QVariantList{});
                lock.commit();
            } catch (const db::Error &undo) {
                lock.rollback();
                m_error = u"合并数据表 %1 时出错: %2; 该表无法恢复原状: %3"_s.arg(t.name, e.message(), undo.message());
            }
        }
        m_report << t.label + u"出错,本表未更新"_s << QLatin1StringView(update::kReportRule);
    }
    QSqlQuery cleanUp(m_local);
    for (const QString &statement : sql.cleanUp)
        cleanUp.exec(statement);
    if (!m_error.isEmpty())
        return false;
    m_appended << appended;
    m_report << t.label + QString::number(appended) + QString::fromUtf8(update::kCountSuffix)
             << QLatin1StringView(update::kReportRule);
    return true;
}
