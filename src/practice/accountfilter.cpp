#include "practice/accountfilter.h"

#include "practice/chartofaccounts.h"

namespace practice {

namespace {

bool allDigits(const QString &text)
{
    for (QChar c : text) {
        if (!c.isDigit())
            return false;
    }
    return true;
}

} // namespace

QList<AccountRef> matchingAccounts(const QString &typed)
{
    const QString text = typed.trimmed();
    const bool number = !text.isEmpty() && allDigits(text);
    QList<AccountRef> matches;
    int position = 0;
    const QList<AccountCategory> &chart = chartOfAccounts();
    for (int c = 0; c < chart.size(); ++c) {
        const bool wholeCategory = !number && chart.at(c).name.contains(text);
        for (int a = 0; a < chart.at(c).accounts.size(); ++a) {
            ++position;
            const bool fits = number ? QString::number(position).startsWith(text)
                                     : wholeCategory || chart.at(c).accounts.at(a).contains(text);
            if (fits)
                matches.append({c, a, position});
        }
    }
    return matches;
}

int preferredMatch(const QList<AccountRef> &matches, const QString &typed)
{
    const QString text = typed.trimmed();
    const QList<AccountCategory> &chart = chartOfAccounts();
    for (int k = 0; k < matches.size(); ++k) {
        const AccountRef &m = matches.at(k);
        if (chart.at(m.category).accounts.at(m.account) == text || QString::number(m.position) == text)
            return k;
    }
    return matches.isEmpty() ? -1 : 0;
}

} // namespace practice
