#include "db/dialect.h"

using namespace Qt::StringLiterals;

namespace db {

namespace {

constexpr Dialect kSqlite{Engine::Sqlite,
                          u"rowid",
                          u"rowid",
                          u"temp",
                          u"unicode",
                          u"limit -1",
                          u"",
                          u"cross join",
                          u"select name from sqlite_master where type='table'",
                          u"BEGIN",
                          u"BEGIN IMMEDIATE",
                          nullptr,
                          u"MAX(rowid)",
                          u"INTEGER",
                          u"main.",
                          u"%1 IS NOT DISTINCT FROM %2"};

// ctid is the row's place in the table; it changes when the row is updated, which the merge does
// at most once per row and the readers never rely on across statements. Every row version also
// carries the transaction that wrote it (xmin): ctid and xmin together change with any write.
// SHARE ROW EXCLUSIVE keeps out every other writer and lets plain reads go on. IS NOT DISTINCT FROM
// is not looked up by index on the server; the OR of the two cases is.
constexpr Dialect kPostgres{Engine::Postgres,
                            u"ctid",
                            u"(((ctid::text::point)[0])::bigint*65536+((ctid::text::point)[1])::bigint)",
                            u"pg_temp",
                            u"ascii",
                            u"offset 0",
                            u" COLLATE \"C\"",
                            u"join",
                            u"select table_name from information_schema.tables where table_schema=current_schema()",
                            u"BEGIN ISOLATION LEVEL REPEATABLE READ",
                            u"BEGIN",
                            u"LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE",
                            u"SUM(hashtext(ctid::text || xmin::text)::bigint)",
                            u"tid",
                            u"",
                            u"(%1 = %2 OR (%1 IS NULL AND %2 IS NULL))"};

} // namespace

const Dialect &dialect(Engine engine)
{
    return engine == Engine::Postgres ? kPostgres : kSqlite;
}

const Dialect &dialect(const QSqlDatabase &db)
{
    return dialect(db.driverName() == u"QPSQL" ? Engine::Postgres : Engine::Sqlite);
}

QString adapt(const QSqlDatabase &db, QString sql)
{
    const Dialect &d = dialect(db);
    if (d.engine == Engine::Sqlite && !sql.contains(u'{'))
        return sql;
    // Qualified forms first: "c.{rownum}" must become an expression over c's ctid.
    if (d.engine == Engine::Postgres) {
        qsizetype at = 0;
        while ((at = sql.indexOf(u".{rownum}"_s, at)) >= 0) {
            qsizetype start = at;
            while (start > 0 && (sql.at(start - 1).isLetterOrNumber() || sql.at(start - 1) == u'_'))
                --start;
            const QString alias = sql.mid(start, at - start);
            const QString expr = QString::fromUtf16(d.rowNumber).replace(u"ctid"_s, alias + u".ctid"_s);
            sql.replace(start, at + 9 - start, expr);
            at = start + expr.size();
        }
    }
    sql.replace(u"{rownum}"_s, QString::fromUtf16(d.rowNumber));
    sql.replace(u"{rowid}"_s, QString::fromUtf16(d.rowId));
    sql.replace(u"{temp}"_s, QString::fromUtf16(d.tempSchema));
    sql.replace(u"{char1}"_s, QString::fromUtf16(d.firstCharCode));
    sql.replace(u"{nolimit}"_s, QString::fromUtf16(d.noLimit));
    sql.replace(u"{joinfirst}"_s, QString::fromUtf16(d.joinInOrder));
    return sql;
}

} // namespace db
