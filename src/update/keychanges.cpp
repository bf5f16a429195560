#include "update/keychanges.h"

#include "update/mergesql.h"

using namespace Qt::StringLiterals;

namespace update {

namespace {

QString quoted(const QString &identifier)
{
    return u'"' + QString(identifier).replace(u'"', u"\"\""_s) + u'"';
}

qsizetype position(const QStringList &columns, const QString &name)
{
    for (qsizetype k = 0; k < columns.size(); ++k) {
        if (columns.at(k).compare(name, Qt::CaseInsensitive) == 0)
            return k;
    }
    return -1;
}

struct Watched
{
    const char16_t *table;
    const char16_t *subId; // the sub-question's id column, or nullptr
    const char16_t *keyColumn;
    const char16_t *stemColumn;
};

constexpr Watched kWatched[] = {
    {u"ex_page_id", nullptr, u"p_anwser", u"p_subject_name"},
    {u"ex_sub", u"m_id", u"m_anwser", u"m_subject"},
};

} // namespace

QStringList changeStatements(const MergeNames &names, const QString &table, const QStringList &localColumns, const QStringList &incomingColumns,
                             const QString &plan)
{
    QStringList out;
    for (const Watched &w : kWatched) {
        if (table.compare(QString::fromUtf16(w.table), Qt::CaseInsensitive) != 0)
            continue;
        const qsizetype pId = position(localColumns, u"p_id"_s);
        const qsizetype subId = w.subId ? position(localColumns, QString::fromUtf16(w.subId)) : -1;
        if (pId < 0 || (w.subId && subId < 0))
            return out;
        const QString local = names.local(table);
        const QString &incoming = names.incoming;
        const QString sub = subId < 0 ? u"''"_s : u"l."_s + quoted(localColumns.at(subId));
        const std::pair<const char16_t *, const char16_t *> watched[] = {{w.keyColumn, u"key"},
                                                                         {w.stemColumn, u"stem"}};
        for (const auto &[column, what] : watched) {
            const qsizetype k = position(localColumns, QString::fromUtf16(column));
            if (k < 0 || k >= incomingColumns.size())
                continue;
            out << u"INSERT INTO "_s + names.local(u"qm_changed"_s)
                       + u" (p_id, m_id, what, changed_at, told)"
                         " SELECT l.%1, %2, '%3', ?, 0 FROM %4 AS p JOIN %5 AS l ON l.{rowid} = p.dst"
                         " JOIN %6 AS s ON s.%9 = p.src WHERE p.dst IS NOT NULL AND l.%7 IS DISTINCT FROM s.%8"_s.arg(
                             quoted(localColumns.at(pId)), sub, QString::fromUtf16(what), plan, local, incoming,
                             quoted(localColumns.at(k)), quoted(incomingColumns.at(k)), quoted(names.incomingRow));
        }
    }
    return out;
}

} // namespace update
