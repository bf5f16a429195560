#include "db/schema.h"

#include "db/sql.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace db {

namespace {

struct Column
{
    const char16_t *name;
    const char16_t *type;
};

struct Table
{
    const char16_t *name;
    QList<Column> columns;
};

// Type names chosen so that SQLite gives the right affinity and PostgreSQL reads them as well.
#define TEXT_N(n) u"VARCHAR(" #n ")"
constexpr const char16_t *kLongText = u"TEXT";
constexpr const char16_t *kYesNo = u"INTEGER";
constexpr const char16_t *kDouble = u"DOUBLE PRECISION";
constexpr const char16_t *kInteger = u"INTEGER";

const QList<Table> &tables()
{
    static const QList<Table> all = {
        {u"ma_id", {{u"m_id", TEXT_N(14)}, {u"m_name", TEXT_N(50)}, {u"m_speaker", TEXT_N(255)}, {u"m_down", TEXT_N(255)}}},
        {u"cap_id", {{u"c_id", TEXT_N(14)}, {u"c_name", TEXT_N(50)}, {u"m_id", TEXT_N(14)}, {u"m_type", TEXT_N(1)}}},
        {u"ex_page_id",
         {{u"c_id", TEXT_N(14)}, {u"p_id", TEXT_N(14)}, {u"p_type", TEXT_N(1)}, {u"p_subject_name", kLongText},
          {u"p_a", kLongText}, {u"p_b", kLongText}, {u"p_c", kLongText}, {u"p_d", kLongText}, {u"p_e", kLongText},
          {u"p_f", kLongText}, {u"p_anwser", TEXT_N(255)}, {u"p_anwser_memo", kLongText}, {u"p_mask", kYesNo},
          {u"p_ok_mask", kYesNo}, {u"p_score", kDouble}}},
        {u"ex_sub",
         {{u"p_id", TEXT_N(14)}, {u"m_id", TEXT_N(50)}, {u"m_subject", kLongText}, {u"ma", kLongText},
          {u"mb", kLongText}, {u"mc", kLongText}, {u"md", kLongText}, {u"me", kLongText}, {u"mf", kLongText},
          {u"m_anwser", TEXT_N(255)}, {u"m_des", kLongText}, {u"m_score", kDouble}, {u"m_type", TEXT_N(50)}}},
        {u"ks_jy", {{u"c_id", TEXT_N(14)}, {u"ks_url", TEXT_N(255)}, {u"ks_local", kYesNo}}},
        {u"ks_net",
         {{u"c_id", TEXT_N(14)}, {u"n_id", TEXT_N(14)}, {u"n_name", TEXT_N(255)}, {u"n_speaker", TEXT_N(255)},
          {u"n_url", TEXT_N(255)}, {u"n_file", TEXT_N(255)}}},
        {u"ks_dg", {{u"ks_name", TEXT_N(255)}, {u"ks_url", TEXT_N(255)}, {u"ks_local", kYesNo}}},
        {u"ks_ad", {{u"ks_way", TEXT_N(255)}, {u"ks_url", TEXT_N(255)}, {u"ks_type", kYesNo}}},
        {u"soft_text", {{u"name", TEXT_N(255)}, {u"s_left", kInteger}, {u"s_top", kInteger}}},
        {u"user_logon", {{u"user_name", TEXT_N(50)}, {u"user_pass", TEXT_N(50)}}},
        // Answers are long text: an entries-mode answer of six sub-items can pass 255 characters.
        {u"test_page",
         {{u"page_id", TEXT_N(14)}, {u"p_id", TEXT_N(14)}, {u"p_a", kYesNo}, {u"p_b", kYesNo}, {u"p_c", kYesNo},
          {u"p_d", kYesNo}, {u"p_e", kYesNo}, {u"p_f", kYesNo}, {u"p_answer", kLongText}, {u"p_do_yn", kYesNo},
          {u"p_real_yn", kYesNo}, {u"p_mask", kYesNo}, {u"p_ok_mask", kYesNo}, {u"p_first_answer", kLongText},
          {u"p_score", kDouble}, {u"p_type", kInteger}}},
        // p_time holds texts such as "123分30秒".
        {u"page_total",
         {{u"page_id", TEXT_N(14)}, {u"p_true", TEXT_N(4)}, {u"p_false", TEXT_N(4)}, {u"p_nothing", TEXT_N(4)},
          {u"p_doing", TEXT_N(4)}, {u"p_time", TEXT_N(20)}, {u"p_type", TEXT_N(8)}, {u"p_score", kDouble}}},
        {u"tmp",
         {{u"a_m_id", TEXT_N(14)}, {u"m_name", TEXT_N(50)}, {u"m_speaker", TEXT_N(255)}, {u"m_down", TEXT_N(255)},
          {u"b_c_id", TEXT_N(14)}, {u"c_name", TEXT_N(50)}, {u"b_m_id", TEXT_N(14)}, {u"m_type", TEXT_N(1)},
          {u"c_c_id", TEXT_N(14)}, {u"c_p_id", TEXT_N(14)}, {u"p_type", TEXT_N(1)}, {u"p_subject_name", kLongText},
          {u"c_p_a", kLongText}, {u"c_p_b", kLongText}, {u"c_p_c", kLongText}, {u"c_p_d", kLongText},
          {u"c_p_e", kLongText}, {u"c_p_f", kLongText}, {u"p_anwser", TEXT_N(255)}, {u"p_anwser_memo", kLongText},
          {u"c_p_mask", kYesNo}, {u"c_p_ok_mask", kYesNo}, {u"c_p_score", kDouble},
          {u"page_id", TEXT_N(14)}, {u"d_p_id", TEXT_N(14)}, {u"d_p_a", kYesNo}, {u"d_p_b", kYesNo},
          {u"d_p_c", kYesNo}, {u"d_p_d", kYesNo}, {u"d_p_e", kYesNo}, {u"d_p_f", kYesNo}, {u"p_answer", kLongText},
          {u"p_do_yn", kYesNo}, {u"p_real_yn", kYesNo}, {u"d_p_mask", kYesNo}, {u"d_p_ok_mask", kYesNo},
          {u"p_first_answer", kLongText}, {u"d_p_score", kDouble}, {u"d_p_type", kInteger},
          {u"e_m_id", TEXT_N(50)}, {u"e_subject_name", TEXT_N(255)}}},
        {u"tmp_id", {{u"p_id", TEXT_N(14)}, {u"p_score", kDouble}}},
    };
    return all;
}
#undef TEXT_N

// Index name, table, columns.
const QList<std::array<const char16_t *, 3>> &indexes()
{
    static const QList<std::array<const char16_t *, 3>> all = {
        {u"ix_ma_id_m_id", u"ma_id", u"m_id"},
        {u"ix_cap_id_c_id", u"cap_id", u"c_id"},
        {u"ix_cap_id_m_id", u"cap_id", u"m_id,m_type"},
        // Both carry the question's type and id, so counting a selection per type and walking a
        // course's questions never read the (long) question rows.
        {u"ix_ex_page_id_key", u"ex_page_id", u"p_id,p_type"},
        {u"ix_ex_page_id_course", u"ex_page_id", u"c_id,p_type,p_id"},
        {u"ix_ex_sub_p_id", u"ex_sub", u"p_id,m_id"},
        {u"ix_ks_jy_c_id", u"ks_jy", u"c_id"},
        {u"ix_ks_net_c_id", u"ks_net", u"c_id,n_id"},
        // The updater finds existing learning-material rows by these keys.
        {u"ix_ks_jy_key", u"ks_jy", u"c_id,ks_url"},
        {u"ix_ks_dg_key", u"ks_dg", u"ks_name,ks_url"},
        {u"ix_ks_ad_key", u"ks_ad", u"ks_way,ks_url"},
        {u"ix_soft_text_name", u"soft_text", u"name"},
        {u"ix_test_page_page_id", u"test_page", u"page_id,p_type,p_id"},
        // A question's records newest first with the flags the selections ask about, so its newest
        // essence or wrong record is found from the index alone; one index rather than one per
        // selection, as every new record of a session is written into each of them.
        {u"ix_test_page_question", u"test_page", u"p_id,page_id,p_ok_mask,p_do_yn,p_real_yn"},
        {u"ix_page_total_page_id", u"page_total", u"page_id"},
        {u"ix_tmp_c_p_id", u"tmp", u"c_p_id,e_m_id"},
        {u"ix_tmp_id_p_id", u"tmp_id", u"p_id"},
    };
    return all;
}

// Indexes of older banks that a wider one above replaces.
constexpr std::array kReplacedIndexes = {u"ix_ex_page_id_p_id", u"ix_ex_page_id_c_id", u"ix_test_page_p_id",
                                         u"ix_test_page_essence", u"ix_test_page_wrong"};

const Table *findTable(const QString &name)
{
    for (const Table &t : tables()) {
        if (name == QString::fromUtf16(t.name))
            return &t;
    }
    return nullptr;
}

} // namespace

const QStringList &contentTables()
{
    static const QStringList names = {u"ma_id"_s, u"cap_id"_s, u"ex_page_id"_s, u"ex_sub"_s, u"ks_net"_s,
                                      u"ks_jy"_s, u"ks_dg"_s, u"soft_text"_s, u"ks_ad"_s};
    return names;
}

const QStringList &sessionTables()
{
    static const QStringList names = {u"test_page"_s, u"page_total"_s, u"tmp"_s, u"tmp_id"_s};
    return names;
}

QStringList columns(const QString &table)
{
    QStringList out;
    if (const Table *t = findTable(table)) {
        for (const Column &c : t->columns)
            out << QString::fromUtf16(c.name);
    }
    return out;
}

QString createStatement(const QString &table, Engine engine)
{
    const Table *t = findTable(table);
    if (!t)
        return {};
    QStringList defs;
    for (const Column &c : t->columns) {
        QString type = QString::fromUtf16(c.type);
        if (engine == Engine::Postgres && (type.startsWith(u"VARCHAR"_s) || type == kLongText))
            type = u"VARCHAR"_s + QString::fromUtf16(dialect(engine).textCollation);
        defs << QString::fromUtf16(c.name) + u' ' + type;
    }
    return u"CREATE TABLE "_s + table + u" ("_s + defs.join(u", "_s) + u')';
}

QStringList existingTables(const QSqlDatabase &db)
{
    const Dialect &d = dialect(db);
    if (d.engine == Engine::Sqlite)
        return db.tables(QSql::Tables);
    QStringList out;
    QSqlQuery q = run(db, QString::fromUtf16(d.tablesQuery));
    while (q.next())
        out << q.value(0).toString();
    return out;
}

namespace {

// Name and declared type of each column of a table in the file, in order.
QList<std::pair<QString, QString>> declaredColumns(const QSqlDatabase &db, const QString &table)
{
    QList<std::pair<QString, QString>> out;
    QSqlQuery q = run(db, u"PRAGMA table_info(%1)"_s.arg(table));
    while (q.next())
        out.append({q.value(1).toString(), q.value(2).toString()});
    return out;
}

// A table of an older layout (other column types, columns missing) is rebuilt in the current one;
// rows are copied by column name, so every row and every value is kept.
void upgradeLayout(const QSqlDatabase &db, const Table &t)
{
    const QString name = QString::fromUtf16(t.name);
    const auto present = declaredColumns(db, name);
    bool same = present.size() == t.columns.size();
    for (qsizetype k = 0; same && k < present.size(); ++k) {
        same = present.at(k).first.compare(QString::fromUtf16(t.columns.at(k).name), Qt::CaseInsensitive) == 0
            && present.at(k).second.compare(QString::fromUtf16(t.columns.at(k).type), Qt::CaseInsensitive) == 0;
    }
    if (same)
        return;
    QStringList kept;
    for (const Column &c : t.columns) {
        const QString column = QString::fromUtf16(c.name);
        if (std::any_of(present.cbegin(), present.cend(),
                        [&](const auto &p) { return p.first.compare(column, Qt::CaseInsensitive) == 0; }))
            kept << column;
    }
    const QString old = name + u"_before_upgrade"_s;
    run(db, u"ALTER TABLE %1 RENAME TO %2"_s.arg(name, old));
    run(db, createStatement(name));
    run(db, u"INSERT INTO %1 (%2) SELECT %2 FROM %3"_s.arg(name, kept.join(u','), old));
    run(db, u"DROP TABLE %1"_s.arg(old));
}

// Questions whose key or stem an update changed: p_id, the sub-question's m_id ('' for the
// question itself), what changed ('key' or 'stem'), the update's time as yyyyMMddhhmmss, and
// whether the learner was told at a start (0/1).
void createChangedList(const QSqlDatabase &db)
{
    run(db, u"CREATE TABLE IF NOT EXISTS qm_changed (p_id VARCHAR(14), m_id VARCHAR(50), what VARCHAR(8), "
            "changed_at VARCHAR(14), told INTEGER)"_s);
    run(db, u"CREATE INDEX IF NOT EXISTS ix_qm_changed_p_id ON qm_changed (p_id, what, changed_at)"_s);
}

} // namespace

void ensureSchema(const QSqlDatabase &db, SchemaScope scope)
{
    Transaction tx(db);
    const QStringList present = existingTables(db);
    const Engine engine = dialect(db).engine;
    const auto inScope = [scope](const QString &table) {
        return scope == SchemaScope::Whole || (scope == SchemaScope::Learner) == sessionTables().contains(table);
    };
    for (const Table &t : tables()) {
        const QString name = QString::fromUtf16(t.name);
        if (!inScope(name))
            continue;
        if (!present.contains(name, Qt::CaseInsensitive))
            run(db, createStatement(name, engine));
        else if (engine == Engine::Sqlite)
            upgradeLayout(db, t);
    }
    for (const char16_t *name : kReplacedIndexes)
        run(db, u"DROP INDEX IF EXISTS %1"_s.arg(QString::fromUtf16(name)));
    for (const auto &ix : indexes()) {
        if (inScope(QString::fromUtf16(ix[1])))
            run(db, u"CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)"_s.arg(QString::fromUtf16(ix[0]),
                                                                      QString::fromUtf16(ix[1]), QString::fromUtf16(ix[2])));
    }
    if (scope == SchemaScope::Learner) {
        // A learner's own list of changed questions: the updater copies each merge's list into it.
        createChangedList(db);
        tx.commit();
        return;
    }
    if (!present.contains(u"qm_version"_s, Qt::CaseInsensitive))
        run(db, u"CREATE TABLE qm_version (version INTEGER)"_s);
    const int version = scalar(db, u"SELECT MAX(version) FROM qm_version"_s, {}, 0).toInt();
    // Upgrades from older layouts go here, one step per version, each keeping every row.
    if (version < 2) {
        createChangedList(db);
    }
    if (version < kSchemaVersion) {
        run(db, u"DELETE FROM qm_version"_s);
        run(db, u"INSERT INTO qm_version (version) VALUES (?)"_s, {kSchemaVersion});
    }
    tx.commit();
}

} // namespace db
