#include "update/mergesource.h"

#include "db/server.h"
#include "db/sql.h"
#include "records/changedquestions.h"
#include "update/incomingbank.h"
#include "update/mergeplan.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace update {

namespace {

QString quoted(const QString &identifier)
{
    return db::quoteIdentifier(identifier);
}

QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

// A local SQLite bank: the new bank attached read-only for as long as the source lives.
class AttachedFile final : public MergeSource
{
public:
    AttachedFile(const QSqlDatabase &local, const QSqlDatabase &incoming) : m_db(local), m_file(bankFile(incoming))
    {
        db::run(m_db, u"PRAGMA temp_store=MEMORY"_s);
        const QString schema = QLatin1StringView(kIncomingSchema);
        try {
            db::run(m_db, u"ATTACH DATABASE ? AS "_s + schema, {readOnlyName(incoming)});
        } catch (const db::Error &e) {
            throw db::Error(u"新题库无法读取: "_s + e.message());
        }
        m_attached = true;
        // A connection that does not read URIs would have attached another file of that name.
        QSqlQuery list = db::run(m_db, u"PRAGMA database_list"_s);
        while (list.next()) {
            if (list.value(1).toString() == schema && canonical(list.value(2).toString()) != canonical(m_file))
                throw db::Error(u"新题库无法读取: 新题库无法以只读方式打开."_s);
        }
    }
    ~AttachedFile() override
    {
        if (!m_attached)
            return;
        QSqlQuery q(m_db);
        q.exec(u"DETACH DATABASE "_s + QLatin1StringView(kIncomingSchema));
    }

    MergeNames names(const QString &table) const override
    {
        return {db::Engine::Sqlite, QLatin1StringView(kIncomingSchema) + u'.' + quoted(table), u"rowid"_s};
    }

    int shareChanges(const QString &changedAt) override { return records::answeredChangedAt(m_db, changedAt); }

private:
    QSqlDatabase m_db;
    QString m_file;
    bool m_attached = false;
};

// Values bound per statement while rows are copied to the server: few round trips, and far below
// the driver's limit of parameters.
constexpr int kValuesPerInsert = 3000;
// The column of a copied table that holds the row's number in the file.
constexpr auto kRowColumn = "qm_file_row";

// A server bank: the merged tables of the file copied into temporary tables of the connection.
class CopiedToServer final : public MergeSource
{
public:
    CopiedToServer(const QSqlDatabase &local, const QSqlDatabase &incoming, const std::function<void()> &onRows)
        : m_db(local)
    {
        db::Transaction tx(m_db);
        for (const MergeTable &t : mergePlan()) {
            try {
                copy(incoming, t.name, onRows);
            } catch (const db::Error &e) {
                throw db::Error(u"新题库的数据表 %1 无法复制到服务器: %2"_s.arg(t.name, e.message()));
            }
        }
        tx.commit();
        // The server gathers no statistics of temporary tables by itself.
        for (const MergeTable &t : mergePlan())
            db::run(m_db, u"ANALYZE "_s + copied(t.name));
    }
    ~CopiedToServer() override
    {
        QSqlQuery q(m_db);
        for (const MergeTable &t : mergePlan())
            q.exec(u"DROP TABLE IF EXISTS "_s + copied(t.name));
    }

    MergeNames names(const QString &table) const override
    {
        return {db::Engine::Postgres, copied(table), QString::fromLatin1(kRowColumn)};
    }

    // The list of the content schema is the maintainer's; each learner reads his own copy, which
    // also keeps whether he was told. "Answered before" counts a question that any learner had
    // answered before the change.
    int shareChanges(const QString &changedAt) override
    {
        const QStringList learners = db::learners(m_db);
        QStringList answered;
        for (const QString &name : learners) {
            const QString own = quoted(name) + u".qm_changed"_s;
            db::run(m_db,
                    u"INSERT INTO %1 (p_id, m_id, what, changed_at, told) SELECT c.p_id, c.m_id, c.what, c.changed_at, 0"
                    " FROM qm_changed AS c WHERE c.changed_at = ? AND NOT EXISTS (SELECT 1 FROM %1 AS o"
                    " WHERE o.p_id IS NOT DISTINCT FROM c.p_id AND o.m_id IS NOT DISTINCT FROM c.m_id"
                    " AND o.what = c.what AND o.changed_at = c.changed_at)"_s.arg(own),
                    {changedAt});
            answered << u"SELECT c.p_id FROM qm_changed AS c WHERE c.what = 'key' AND c.changed_at = ? AND EXISTS"
                        " (SELECT 1 FROM %1.test_page AS t WHERE t.p_id = c.p_id AND t.p_do_yn = 1"
                        " AND t.page_id < c.changed_at)"_s.arg(quoted(name));
        }
        if (answered.isEmpty())
            return 0;
        const QVariantList values(answered.size(), changedAt);
        return db::scalar(m_db, u"SELECT COUNT(*) FROM ("_s + answered.join(u" UNION "_s) + u") AS a"_s, values, 0)
            .toInt();
    }

private:
    static QString copiedName(const QString &table) { return quoted(QLatin1StringView(kIncomingSchema) + u'_' + table); }
    static QString copied(const QString &table) { return u"pg_temp."_s + copiedName(table); }

    // Type (with its collation) of each column of the local table, in order, by name.
    QList<std::pair<QString, QString>> localTypes(const QString &table) const
    {
        QSqlQuery q = db::run(
            m_db,
            u"SELECT a.attname, format_type(a.atttypid, a.atttypmod) || COALESCE((SELECT ' COLLATE '"
            " || quote_ident(n.nspname) || '.' || quote_ident(c.collname) FROM pg_collation AS c"
            " JOIN pg_namespace AS n ON n.oid = c.collnamespace WHERE c.oid = a.attcollation), '')"
            " FROM pg_attribute AS a WHERE a.attrelid = to_regclass(?) AND a.attnum > 0 AND NOT a.attisdropped"
            " ORDER BY a.attnum"_s,
            {quoted(table)});
        QList<std::pair<QString, QString>> out;
        while (q.next())
            out.append({q.value(0).toString(), q.value(1).toString()});
        return out;
    }

    // Every column of the file's table: where the local table has a column at that place, or else
    // one of that name, the copy takes its type, so that the merge compares like with like and a
    // value the local column cannot hold is refused before anything is written.
    void copy(const QSqlDatabase &incoming, const QString &table, const std::function<void()> &onRows)
    {
        const QSqlRecord record = incoming.record(table);
        const auto types = localTypes(table);
        QStringList columns, definitions;
        for (int k = 0; k < record.count(); ++k) {
            const QString name = record.fieldName(k);
            if (name.compare(QLatin1StringView(kRowColumn), Qt::CaseInsensitive) == 0)
                throw db::Error(u"列名 %1 为系统保留."_s.arg(name));
            QString type = u"text"_s;
            if (k < types.size()) {
                type = types.at(k).second;
            } else {
                for (const auto &[localName, localType] : types) {
                    if (localName.compare(name, Qt::CaseInsensitive) == 0)
                        type = localType;
                }
            }
            columns << quoted(name);
            definitions << quoted(name) + u' ' + type;
        }
        const QString target = copied(table);
        db::run(m_db, u"DROP TABLE IF EXISTS "_s + target);
        db::run(m_db, u"CREATE TEMP TABLE %1 (%2 BIGINT PRIMARY KEY, %3)"_s.arg(
                          copiedName(table), QString::fromLatin1(kRowColumn), definitions.join(u", "_s)));

        QSqlQuery source(incoming);
        source.setForwardOnly(true);
        if (!source.exec(u"SELECT rowid, %1 FROM %2 ORDER BY rowid"_s.arg(columns.join(u", "_s), quoted(table))))
            throw db::Error(source.lastError().text());
        const int width = int(columns.size()) + 1;
        const int perInsert = qMax(1, kValuesPerInsert / width);
        const QString row = u'(' + QStringList(width, u"?"_s).join(u',') + u')';
        const QString head = u"INSERT INTO %1 (%2, %3) VALUES "_s.arg(target, QString::fromLatin1(kRowColumn),
                                                                        columns.join(u", "_s));
        QSqlQuery full(m_db);
        if (!full.prepare(head + QStringList(perInsert, row).join(u',')))
            throw db::Error(full.lastError().text());
        QVariantList batch;
        batch.reserve(perInsert * width);
        const auto flush = [&](QSqlQuery &insert) {
            for (qsizetype k = 0; k < batch.size(); ++k)
                insert.bindValue(int(k), batch.at(k));
            if (!insert.exec())
                throw db::Error(insert.lastError().text());
            batch.clear();
            if (onRows)
                onRows();
        };
        while (source.next()) {
            for (int k = 0; k < width; ++k)
                batch << source.value(k);
            if (batch.size() == qsizetype(perInsert) * width)
                flush(full);
        }
        if (source.lastError().isValid())
            throw db::Error(source.lastError().text());
        if (!batch.isEmpty()) {
            QSqlQuery rest(m_db);
            if (!rest.prepare(head + QStringList(batch.size() / width, row).join(u',')))
                throw db::Error(rest.lastError().text());
            flush(rest);
        }
    }

    QSqlDatabase m_db;
};

} // namespace

bool MergeSource::sameFile(const QSqlDatabase &local, const QSqlDatabase &incoming)
{
    if (db::dialect(local).engine != db::Engine::Sqlite)
        return false;
    const QString path = canonical(local.databaseName());
    return !path.isEmpty() && path == canonical(bankFile(incoming));
}

std::unique_ptr<MergeSource> MergeSource::open(const QSqlDatabase &local, const QSqlDatabase &incoming,
                                               const std::function<void()> &onRows)
{
    if (db::dialect(local).engine == db::Engine::Postgres)
        return std::make_unique<CopiedToServer>(local, incoming, onRows);
    return std::make_unique<AttachedFile>(local, incoming);
}

} // namespace update
