#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// The update list up.txt: line 1 the date of the newest question bank, line 2 unused, then one
// file name per line. Also decides where a listed file may be written.
namespace update {

struct UpdateList
{
    QString dateText;    // line 1 as written (blanks trimmed)
    QStringList entries; // lines 3 and following, as written
};

UpdateList parseUpdateList(const QByteArray &bytes);

// A short date as people and Windows write it (2009-06-01, 2009/6/1, 2009.6.1), optionally followed
// by a time (12:30 or 12:30:15). Nothing when the text is not such a date.
std::optional<QDateTime> parseListDate(const QString &text);

// The list entry naming the question bank itself.
inline constexpr auto kBankEntry = "sys.htm";

enum class EntryKind { Skip, Bank, File, Refused };

struct Entry
{
    EntryKind kind = EntryKind::Skip;
    QString relative; // File: the path under data/ with "/" separators
};

// Classifies one list entry. Files must stay inside data/: "..", absolute paths, drives and
// schemes are refused. Backslashes of lists written on Windows are folder separators.
Entry classifyEntry(const QString &entry);

} // namespace update
