#pragma once

#include <QList>
#include <QString>

// Helpers over the "/"-separated answer lists and other small texts shared by both programs.
namespace text {

// Item i (1-based) of a list of n items; missing items are empty, anything past item n is ignored.
QString listItem(const QString &text, int n, QChar delimiter, int i);

// The list rebuilt with item i replaced; always n items, each followed by "/".
QString listSetItem(const QString &value, const QString &text, int n, QChar delimiter, int i);

int countDelimiters(QChar delimiter, const QString &text);

// True when key is one of the first n entries of values (false for n <= 0).
bool valueInPrefix(const QList<int> &values, int n, int key);

} // namespace text
