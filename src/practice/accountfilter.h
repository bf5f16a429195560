#pragma once

#include <QList>
#include <QString>

// Finding an account of the chart by a part of its name or by its position number (1 = the
// first account of the first category, counting on through the categories), as the learner
// types it into the account picker.
namespace practice {

struct AccountRef
{
    int category = 0; // index into chartOfAccounts()
    int account = 0;  // index into that category's accounts
    int position = 0; // 1-based over the whole chart
};

// Accounts that fit what was typed, in chart order. Digits match the start of the position
// number; other text matches a part of the account's name or of its category's name (which
// offers all of that category). Blanks around the text do not count; empty text fits every account.
QList<AccountRef> matchingAccounts(const QString &typed);

// Which of the matches to highlight: the one named exactly as typed, else the first; -1 when none.
int preferredMatch(const QList<AccountRef> &matches, const QString &typed);

} // namespace practice
