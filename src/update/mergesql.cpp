#include "update/mergesql.h"

using namespace Qt::StringLiterals;

namespace update {

namespace {

QString quoted(const QString &identifier)
{
    return u'"' + QString(identifier).replace(u'"', u"\"\""_s) + u'"';
}

// "a.x IS NOT DISTINCT FROM b.y AND ..." over pairs of columns; with the dialect's sameKey for
// lookups by key.
QString allSame(const QString &a, const QStringList &left, const QString &b, const QStringList &right,
                const QString &form = u"%1 IS NOT DISTINCT FROM %2"_s)
{
    QStringList parts;
    for (qsizetype k = 0; k < left.size(); ++k)
        parts << form.arg(a + u'.' + quoted(left.at(k)), b + u'.' + quoted(right.at(k)));
    return parts.join(u" AND "_s);
}

QString list(const QString &prefix, const QStringList &columns)
{
    QStringList parts;
    for (const QString &c : columns)
        parts << prefix + quoted(c);
    return parts.join(u", "_s);
}

} // namespace

QString MergeNames::local(const QString &table) const
{
    return QString::fromUtf16(db::dialect(engine).ownTables) + quoted(table);
}

MergeStatements mergeStatements(const MergeNames &names, int index, const QString &table, const QStringList &localColumns,
                                const QStringList &incomingColumns, const QStringList &localKeys,
                                const QStringList &incomingKeys)
{
    const db::Dialect &d = db::dialect(names.engine);
    const QString local = names.local(table);
    const QString &incoming = names.incoming;
    const QString row = quoted(names.incomingRow);
    const QString planName = u"qm_plan_%1"_s.arg(index);
    const QString plan = u"{temp}."_s + planName;

    MergeStatements m;
    m.localHasRows = u"SELECT EXISTS (SELECT 1 FROM %1)"_s.arg(local);
    m.incomingRows = u"SELECT COUNT(*) FROM "_s + incoming;
    m.incomingKeys =
        u"SELECT COUNT(*) FROM (SELECT 1 FROM %1 GROUP BY %2) AS k"_s.arg(incoming, list({}, incomingKeys));
    m.localState = u"SELECT COUNT(*), %1 FROM %2"_s.arg(QString::fromUtf16(d.rowsStamp), local);
    m.copy = u"INSERT INTO %1 (%2) SELECT %3 FROM %4 AS s ORDER BY s.%5"_s.arg(
        local, list({}, localColumns), list(u"s."_s, incomingColumns), incoming, row);
    // Keys are numbered explicitly: neither engine promises to number rows in the order inserted.
    m.numberKeys = {
        u"DROP TABLE IF EXISTS {temp}.qm_keys"_s,
        u"CREATE TEMP TABLE qm_keys (n INTEGER PRIMARY KEY, last_row BIGINT)"_s,
        u"INSERT INTO {temp}.qm_keys (n, last_row) SELECT ROW_NUMBER() OVER (ORDER BY MIN(%1)), MAX(%1) FROM %2"
        " GROUP BY %3"_s.arg(row, incoming, list({}, incomingKeys)),
    };
    m.createPlan = {
        u"DROP TABLE IF EXISTS "_s + plan,
        u"CREATE TEMP TABLE %1 (n INTEGER PRIMARY KEY, src BIGINT NOT NULL, dst %2)"_s.arg(
            planName, QString::fromUtf16(d.rowIdType)),
    };
    // The first local row of the key, and only when it differs from the key's last new row. The
    // candidates are materialised so that the lookup of the local row runs once per key.
    m.plan = u"INSERT INTO %1 (n, src, dst)"
             " WITH c AS MATERIALIZED (SELECT g.n AS n, g.last_row AS src,"
             " (SELECT MIN(f.{rowid}) FROM %2 AS f WHERE %3) AS dst"
             " FROM {temp}.qm_keys AS g JOIN %4 AS s ON s.%6 = g.last_row WHERE g.n BETWEEN ? AND ?)"
             " SELECT n, src, dst FROM c WHERE dst IS NULL OR NOT EXISTS"
             " (SELECT 1 FROM %2 AS l JOIN %4 AS s ON s.%6 = c.src WHERE l.{rowid} = c.dst AND %5)"_s.arg(
                 plan, local, allSame(u"f"_s, localKeys, u"s"_s, incomingKeys, QString::fromUtf16(d.sameKey)),
                 incoming, allSame(u"l"_s, localColumns, u"s"_s, incomingColumns), row);
    m.dropKeys = {u"DROP TABLE IF EXISTS {temp}.qm_keys"_s};

    QStringList sets;
    for (qsizetype k = 0; k < localColumns.size(); ++k)
        sets << quoted(localColumns.at(k)) + u" = s."_s + quoted(incomingColumns.at(k));
    m.overwrite = u"UPDATE %1 AS l SET %2 FROM %3 AS p JOIN %4 AS s ON s.%5 = p.src"
                  " WHERE p.dst IS NOT NULL AND l.{rowid} = p.dst"_s.arg(local, sets.join(u", "_s), plan, incoming, row);
    m.append = u"INSERT INTO %1 (%2) SELECT %3 FROM %4 AS p JOIN %5 AS s ON s.%6 = p.src"
               " WHERE p.dst IS NULL ORDER BY p.n"_s.arg(local, list({}, localColumns), list(u"s."_s, incomingColumns),
                                                         plan, incoming, row);
    m.planTable = plan;
    m.cleanUp = {
        u"DROP TABLE IF EXISTS {temp}.qm_keys"_s,
        u"DROP TABLE IF EXISTS "_s + plan,
    };
    return m;
}

} // namespace update
