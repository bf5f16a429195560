#include "text/listtext.h"

namespace text {

namespace {

QList<QString> split(const QString &text, int n, QChar delimiter)
{
    QList<QString> items(qMax(n, 0));
    QStringView rest(text);
    for (int k = 0; k < n; ++k) {
        const qsizetype pos = rest.indexOf(delimiter);
        if (pos < 0) {
            items[k] = rest.toString();
            break;
        }
        items[k] = rest.left(pos).toString();
        rest = rest.mid(pos + 1);
    }
    return items;
}

} // namespace

QString listItem(const QString &text, int n, QChar delimiter, int i)
{
    if (i < 1 || i > n)
        return {};
    return split(text, n, delimiter).at(i - 1);
}

QString listSetItem(const QString &value, const QString &text, int n, QChar delimiter, int i)
{
    QList<QString> items = split(text, n, delimiter);
    if (i >= 1 && i <= n)
        items[i - 1] = value;
    QString out;
    for (const QString &item : items)
        out += item + u'/';
    return out;
}

int countDelimiters(QChar delimiter, const QString &text)
{
    return int(text.count(delimiter));
}

bool valueInPrefix(const QList<int> &values, int n, int key)
{
    const int limit = qMin<qsizetype>(n, values.size());
    for (int k = 0; k < limit; ++k) {
        if (values.at(k) == key)
            return true;
    }
    return false;
}

} // namespace text
