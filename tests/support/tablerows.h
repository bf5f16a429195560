#pragma once

#include "db/sql.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

// Every row of a table in row order, one text a row with its values apart by U+001F (NULL as
// "<null>"), for comparing a table before and after.
inline QStringList tableRows(const QSqlDatabase &db, const QString &table)
{
    QStringList rows;
    QSqlQuery q = db::run(db, QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" ORDER BY {rowid}"));
    while (q.next()) {
        QStringList values;
        for (int k = 0; k < q.record().count(); ++k)
            values << (q.isNull(k) ? QStringLiteral("<null>") : q.value(k).toString());
        rows << values.join(QChar(0x1f));
    }
    return rows;
}
