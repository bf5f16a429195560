#pragma once

#include "update/mergesql.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <memory>

namespace update {

// The new bank (always an SQLite file) made readable on the local connection, and what the local
// engine does around the merge besides the nine tables. A local SQLite bank attaches the file
// read-only. A server cannot read the file: its tables are copied into temporary tables of the
// connection, each row with its row number in the file, and the merge's lists of changed
// questions are handed on to every learner's schema. The one place where the engines part ways.
class MergeSource
{
public:
    // Throws db::Error. onRows is called now and then while rows are copied.
    static std::unique_ptr<MergeSource> open(const QSqlDatabase &local, const QSqlDatabase &incoming,
                                             const std::function<void()> &onRows);
    virtual ~MergeSource() = default;

    // Whether the local bank is the new bank's file itself.
    static bool sameFile(const QSqlDatabase &local, const QSqlDatabase &incoming);

    // The names the merge statements of a table use.
    virtual MergeNames names(const QString &table) const = 0;
    // Inside the write transaction, after the changes of this merge (changedAt) were listed: hands
    // them on to whoever reads them, and returns how many of the changed questions had been
    // answered before. Throws db::Error.
    virtual int shareChanges(const QString &changedAt) = 0;

protected:
    MergeSource() = default;

private:
    Q_DISABLE_COPY_MOVE(MergeSource)
};

} // namespace update
