#pragma once

#include <QList>
#include <QString>

// The tables the updater merges, in merge order, with the key that finds an existing local row
// and the label of the table's report line.
namespace update {

struct MergeKey
{
    QString localColumn;
    // Where the key value sits in the new row: a 0-based position, or -1 for the column of the
    // same name as localColumn.
    int newPosition = -1;
};

struct MergeTable
{
    QString name;
    QString label;
    QList<MergeKey> keys;
};

const QList<MergeTable> &mergePlan();

// The report line under each table, and the "  条" after each count.
inline constexpr auto kReportRule = "-------------------------------------------------------";
inline constexpr auto kCountSuffix = "  条";

} // namespace update
