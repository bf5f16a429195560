#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The fixed chart of accounts offered by the account picker of the answer editor: five
// categories and their accounts, in the order learners know from the exam.
namespace practice {

struct AccountCategory
{
    QString name;
    QStringList accounts;
};

const QList<AccountCategory> &chartOfAccounts();

// True when name is one of the accounts (not a category).
bool isAccount(const QString &name);

} // namespace practice
