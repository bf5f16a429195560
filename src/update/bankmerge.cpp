#include "update/bankmerge.h"

#include "db/sql.h"
#include "update/mergeplan.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

constexpr auto kUndoTable = "temp.qm_merge_undo";

QString quoted(const QString &identifier)
{
    return u'"' + QString(identifier).replace(u'"', u"\"\""_s) + u'"';
}

QStringList columnNames(const QSqlDatabase &db, const QString &table)
{
    const QSqlRecord record = db.record(table);
    QStringList names;
    for (int k = 0; k < record.count(); ++k)
        names << record.fieldName(k);
    return names;
}

bool hasTable(const QSqlDatabase &db, const QString &table)
{
    return db.tables(QSql::Tables).contains(table, Qt::CaseInsensitive);
}

QSqlQuery prepared(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.prepare(sql))
        throw db::Error(q.lastError().text());
    return q;
}

void exec(QSqlQuery &q)
{
    if (!q.exec())
        throw db::Error(q.lastError().text());
}

// The write lock of the local connection. A commit after a long hold is followed by a pause
// longer than the busy handler's longest sleep, so a writer that is waiting gets the lock before
// the next batch begins.
class WriteLock final
{
public:
    WriteLock(const QSqlDatabase &db, const BankMerge::Tuning &tuning) : m_db(db), m_tuning(tuning) {}
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
    bool due() const { return m_held.isValid() && m_held.elapsed() >= m_tuning.lockHoldMs; }

private:
    Q_DISABLE_COPY_MOVE(WriteLock)
    QSqlDatabase m_db;
    BankMerge::Tuning m_tuning;
    QElapsedTimer m_held;
    bool m_open = false;
};

} // namespace

BankMerge::BankMerge(const QSqlDatabase &local, const QSqlDatabase &incoming) : m_local(local), m_incoming(incoming) {}

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

bool BankMerge::run()
{
    m_report.clear();
    m_appended.clear();
    m_error.clear();
    if (!check(&m_error))
        return false;
    // The undo copy of a large table lives with this connection only.
    db::run(m_local, u"PRAGMA temp_store=MEMORY"_s);
    for (int k = 0; k < update::mergePlan().size(); ++k) {
        if (!mergeTable(k))
            return false;
        if (onTable)
            onTable(k + 1);
    }
    return true;
}

bool BankMerge::mergeTable(int index)
{
    const update::MergeTable &t = update::mergePlan().at(index);
    const QStringList columns = columnNames(m_local, t.name);
    const qsizetype n = columns.size();

    WriteLock lock(m_local, m_tuning);
    bool batched = false;
    bool committedPart = false;
    int appended = 0;
    try {
        QSqlQuery source(m_incoming);
        source.setForwardOnly(true);
        if (!source.exec(u"SELECT * FROM "_s + quoted(t.name)))
            throw db::Error(source.lastError().text());
        QList<int> keyAt;
        for (const update::MergeKey &key : t.keys)
            keyAt << (key.newPosition >= 0 ? key.newPosition : int(source.record().indexOf(key.localColumn)));

        QStringList sets, names, marks, match;
        for (const QString &c : columns) {
            sets << quoted(c) + u" = ?"_s;
            names << quoted(c);
            marks << u"?"_s;
        }
        for (const update::MergeKey &key : t.keys)
            match << quoted(key.localColumn) + u" IS NOT DISTINCT FROM ?"_s;
        // The first local row with the key, as the lookup would return it.
        QSqlQuery overwrite = prepared(m_local, u"UPDATE %1 SET %2 WHERE rowid = (SELECT rowid FROM %1 WHERE %3 LIMIT 1)"_s.arg(
                                                    quoted(t.name), sets.join(u", "_s), match.join(u" AND "_s)));
        QSqlQuery append = prepared(m_local, u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(quoted(t.name), names.join(u", "_s),
                                                                                     marks.join(u", "_s)));
        const int rows = db::scalar(m_incoming, u"SELECT COUNT(*) FROM "_s + quoted(t.name), {}, 0).toInt();
        batched = rows > m_tuning.singleTransactionRows;

        lock.begin();
        if (batched) {
            db::run(m_local, u"DROP TABLE IF EXISTS "_s + QLatin1StringView(kUndoTable));
            db::run(m_local, u"CREATE TABLE %1 AS SELECT * FROM main.%2"_s.arg(QLatin1StringView(kUndoTable), quoted(t.name)));
        }
        QVariantList values(n);
        qint64 done = 0;
        while (source.next()) {
            for (qsizetype c = 0; c < n; ++c) {
                values[c] = source.value(int(c));
                overwrite.bindValue(int(c), values.at(c));
            }
            for (qsizetype k = 0; k < keyAt.size(); ++k)
                overwrite.bindValue(int(n + k), values.at(keyAt.at(k)));
            exec(overwrite);
            if (overwrite.numRowsAffected() == 0) {
                for (qsizetype c = 0; c < n; ++c)
                    append.bindValue(int(c), values.at(c));
                exec(append);
                ++appended;
            }
            if (++done % 256 == 0) {
                if (onRows)
                    onRows();
                if (batched && lock.due()) {
                    lock.commit();
                    committedPart = true;
                    lock.begin();
                }
            }
        }
        if (source.lastError().isValid())
            throw db::Error(source.lastError().text());
        overwrite.finish();
        append.finish();
        lock.commit();
    } catch (const db::Error &e) {
        lock.rollback();
        m_error = u"合并数据表 %1 时出错,该表的修改已撤销: %2"_s.arg(t.name, e.message());
        if (committedPart) {
            try {
                lock.begin();
                db::run(m_local, u"DELETE FROM main."_s + quoted(t.name));
                db::run(m_local, u"INSERT INTO main.%1 SELECT * FROM %2"_s.arg(quoted(t.name), QLatin1StringView(kUndoTable)));
                lock.commit();
            } catch (const db::Error &undo) {
                lock.rollback();
                m_error = u"合并数据表 %1 时出错: %2; 该表无法恢复原状: %3"_s.arg(t.name, e.message(), undo.message());
            }
        }
        m_report << t.label + u"出错,本表未更新"_s << QLatin1StringView(update::kReportRule);
    }
    if (batched) {
        QSqlQuery drop(m_local);
        drop.exec(u"DROP TABLE IF EXISTS "_s + QLatin1StringView(kUndoTable));
    }
    if (!m_error.isEmpty())
        return false;
    m_appended << appended;
    m_report << t.label + QString::number(appended) + QString::fromUtf8(update::kCountSuffix)
             << QLatin1StringView(update::kReportRule);
    return true;
}

namespace update {

bool openIncomingBank(const QString &path, const QString &connectionName, QString *error)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    QString reason;
    if (!info.isFile() || !info.isReadable()) {
        reason = u"题库文件不存在或无法读取: "_s + shown;
    } else {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, connectionName);
        db.setDatabaseName(info.absoluteFilePath());
        db.setConnectOptions(u"QSQLITE_OPEN_READONLY"_s);
        if (!db.open()) {
            reason = u"无法打开题库文件 %1: %2"_s.arg(shown, db.lastError().text());
        } else if (QSqlQuery probe(db); !probe.exec(u"SELECT COUNT(*) FROM sqlite_master"_s)) {
            reason = u"不是有效的题库文件: %1 (%2)"_s.arg(shown, probe.lastError().text());
        } else {
            for (const MergeTable &t : mergePlan()) {
                if (!hasTable(db, t.name)) {
                    reason = u"不是有效的题库文件: %1 (缺少数据表 %2)"_s.arg(shown, t.name);
                    break;
                }
            }
        }
        if (!reason.isEmpty())
            db.close();
    }
    if (reason.isEmpty())
        return true;
    if (QSqlDatabase::contains(connectionName))
        QSqlDatabase::removeDatabase(connectionName);
    if (error)
        *error = reason;
    return false;
}

} // namespace update
