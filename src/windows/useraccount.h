#pragma once

#include "shell/apppaths.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

// The start-up login: one user name and password in table user_logon, switched on and off by
// [config] user_logon of main.ini. Names and passwords are plain text in the table: the login
// keeps other people of a shared computer out of the learner's records, nothing more.
namespace account {

struct Account
{
    QString name;
    QString password;
};

// True when exactly one row holds this name and password (case and blanks count). Throws db::Error.
bool matches(const QSqlDatabase &db, const QString &name, const QString &password);

// The stored account (the first row), if any. Throws db::Error.
std::optional<Account> stored(const QSqlDatabase &db);

// Makes the table hold this account and nothing else. Throws db::Error; the table is unchanged then.
void store(const QSqlDatabase &db, const Account &account);

// Writes [config] user_logon := "T" or "F"; every other line of main.ini stays as it was.
bool writeLoginSwitch(const AppPaths &paths, bool on, QString *error);

} // namespace account
