#include "update/mergesql.h"

using namespace Qt::StringLiterals;

namespace update {

namespace {

QString quoted(const QString &identifier)
{
    return u'"' + QString(identifier).replace(u'"', u"\"\""_s) + u'"';
}

QString same(const QString &a, const QString &b)
{
    return a + u" IS NOT DISTINCT FROM "_s + b;
}

// "a.x IS NOT DISTINCT FROM b.y AND ..." over pairs of columns.
QString allSame(const QString &a, const QStringList &left, const QString &b, const QStringList &right)
{
    QStringList parts;
    for (qsizetype k = 0; k < left.size(); ++k)
        parts << same(a + u'.' + quoted(left.at(k)), b + u'.' + quoted(right.at(k)));
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

MergeStatements mergeStatements(const QString &table, const QStringList &localColumns,
                                const QStringList &incomingColumns, const QStringList &localKeys,
                                const QStringList &incomingKeys)
{
    const QString local = u"main."_s + quoted(table);
    const QString incoming = QLatin1StringView(kIncomingSchema) + u'.' + quoted(table);
    // The key's last new row joined in; the window is a range of key numbers.
    const QString newRows = u"temp.qm_keys AS g JOIN %1 AS s ON s.rowid = g.last_row"_s.arg(incoming);

    MergeStatements m;
    m.localHasRows = u"SELECT EXISTS (SELECT 1 FROM %1)"_s.arg(local);
    m.incomingRows = u"SELECT COUNT(*) FROM "_s + incoming;
    m.incomingKeys =
        u"SELECT COUNT(*) FROM (SELECT 1 FROM %1 GROUP BY %2) AS k"_s.arg(incoming, list({}, incomingKeys));
    m.nextWindow =
        u"SELECT MAX(rowid) FROM (SELECT rowid FROM %1 WHERE rowid > ? ORDER BY rowid LIMIT ?) AS w"_s.arg(incoming);
    m.copy = u"INSERT INTO %1 (%2) SELECT %3 FROM %4 AS s WHERE s.rowid > ? AND s.rowid <= ? ORDER BY s.rowid"_s.arg(
        local, list({}, localColumns), list(u"s."_s, incomingColumns), incoming);
    m.numberKeys = {
        u"DROP TABLE IF EXISTS temp.qm_keys"_s,
        u"CREATE TEMP TABLE qm_keys (n INTEGER PRIMARY KEY, last_row INTEGER)"_s,
        u"INSERT INTO temp.qm_keys (last_row) SELECT MAX(rowid) FROM %1 GROUP BY %2 ORDER BY MIN(rowid)"_s.arg(
            incoming, list({}, incomingKeys)),
    };

    QStringList sets;
    for (qsizetype k = 0; k < localColumns.size(); ++k)
        sets << quoted(localColumns.at(k)) + u" = s."_s + quoted(incomingColumns.at(k));
    m.overwrite =
        u"UPDATE %1 AS l SET %2 FROM %3 WHERE g.n BETWEEN ? AND ? AND %4"
        " AND NOT EXISTS (SELECT 1 FROM %1 AS f WHERE %5 AND f.rowid < l.rowid)"
        " AND NOT (%6)"_s.arg(local, sets.join(u", "_s), newRows, allSame(u"l"_s, localKeys, u"s"_s, incomingKeys),
                              allSame(u"f"_s, localKeys, u"l"_s, localKeys),
                              allSame(u"l"_s, localColumns, u"s"_s, incomingColumns));
    m.append = u"INSERT INTO %1 (%2) SELECT %3 FROM %4 WHERE g.n BETWEEN ? AND ?"
               " AND NOT EXISTS (SELECT 1 FROM %1 AS f WHERE %5) ORDER BY g.n"_s.arg(
                   local, list({}, localColumns), list(u"s."_s, incomingColumns), newRows,
                   allSame(u"f"_s, localKeys, u"s"_s, incomingKeys));

    m.startUndo = {
        u"DROP TRIGGER IF EXISTS temp.qm_undo_save"_s,
        u"DROP TABLE IF EXISTS temp.qm_undo"_s,
        u"CREATE TEMP TABLE qm_undo AS SELECT rowid AS qm_row, * FROM %1 WHERE 0"_s.arg(local),
        u"CREATE TEMP TRIGGER qm_undo_save BEFORE UPDATE ON %1 BEGIN INSERT INTO qm_undo VALUES (old.rowid, %2); END"_s
            .arg(local, list(u"old."_s, localColumns)),
    };
    QStringList puts;
    for (const QString &c : localColumns)
        puts << quoted(c) + u" = u."_s + quoted(c);
    m.restore = {
        u"DROP TRIGGER IF EXISTS temp.qm_undo_save"_s,
        u"DELETE FROM %1 WHERE rowid > ?"_s.arg(local),
        u"UPDATE %1 AS l SET %2 FROM temp.qm_undo AS u WHERE l.rowid = u.qm_row"_s.arg(local, puts.join(u", "_s)),
    };
    m.cleanUp = {
        u"DROP TRIGGER IF EXISTS temp.qm_undo_save"_s,
        u"DROP TABLE IF EXISTS temp.qm_undo"_s,
        u"DROP TABLE IF EXISTS temp.qm_keys"_s,
    };
    return m;
}

} // namespace update
