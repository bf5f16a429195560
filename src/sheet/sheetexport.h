#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>

// The questions of a bank written as a question sheet in the import's layout (UTF-8 with a
// byte-order mark, which spreadsheet programs recognise; comma separators; CRLF line ends), with
// every key, so that export, edit and import update the same rows. Questions are written in
// bank order, each case question followed by its sub-questions.
namespace sheet {

struct SheetExport
{
    QByteArray bytes;
    int questions = 0;
};

// course: empty for the whole bank, else a course's key or name. Returns false with a reason
// when the bank cannot be read or holds no such course.
bool exportSheet(const QSqlDatabase &db, const QString &course, SheetExport *out, QString *error);

} // namespace sheet
