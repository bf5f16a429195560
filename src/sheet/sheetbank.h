#pragma once

#include <QString>

// A sheet's rows written as a question bank file of the usual layout, which the updater then
// merges like any bank it is given.
namespace sheet {

struct SheetRows;

// Creates path (which must not exist yet). Returns false with a reason.
bool writeSheetBank(const SheetRows &rows, const QString &path, QString *error);

} // namespace sheet
