#pragma once

#include "content/contentlink.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// Exam guide (ks_dg) and help centre (ks_ad) entries without widgets: the rows, the captions and
// places of their buttons, and finding an entry again from a button's caption.
namespace content {

struct Entry
{
    QString name; // ks_name or ks_way
    Link link;
};

// Rows in table order.
QList<Entry> guideEntries(const QSqlDatabase &db);
QList<Entry> helpEntries(const QSqlDatabase &db);

// Guide button: the trimmed name cut to 25 GBK bytes (never inside a character) and padded with
// blanks to exactly 25 bytes; row n sits at top 45 × n + 35.
QString guideButtonCaption(const QString &name);
int guideButtonTop(int n);

// Help button: three blanks and the name; row i sits at top 45 × i + 33. The manual update button
// follows n help buttons at 45 × n + 78.
QString helpButtonCaption(const QString &way);
int helpButtonTop(int i);
int manualUpdateTop(int helpButtons);

// The entry a button caption stands for: the first whose trimmed name equals the trimmed caption,
// else the first whose name the caption is the cut of (a name longer than the caption's bytes).
std::optional<Entry> entryByCaption(const QList<Entry> &entries, const QString &caption);

} // namespace content
