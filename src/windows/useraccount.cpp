#include "windows/useraccount.h"

#include "db/sql.h"
#include "shell/appconfig.h"
#include "shell/inifile.h"

using namespace Qt::StringLiterals;

namespace account {

namespace {
// An empty box gives a null text, which would be bound as NULL and never match: it is stored and
// compared as an empty text.
QVariant textValue(const QString &text)
{
    return text.isNull() ? QVariant(QString(u""_s)) : QVariant(text);
}
} // namespace

bool matches(const QSqlDatabase &db, const QString &name, const QString &password)
{
    const QVariant n = db::scalar(db, u"select count(*) from user_logon where user_name = ? and user_pass = ?"_s,
                                  {textValue(name), textValue(password)});
    return n.toInt() == 1;
}

std::optional<Account> stored(const QSqlDatabase &db)
{
    QSqlQuery q = db::run(db, u"select user_name, user_pass from user_logon"_s);
    if (!q.next())
        return std::nullopt;
    return Account{q.value(0).toString(), q.value(1).toString()};
}

void store(const QSqlDatabase &db, const Account &account)
{
    db::Transaction tx(db);
    db::run(db, u"delete from user_logon"_s);
    db::run(db, u"insert into user_logon (user_name, user_pass) values (?, ?)"_s,
            {textValue(account.name), textValue(account.password)});
    tx.commit();
}

bool writeLoginSwitch(const AppPaths &paths, bool on, QString *error)
{
    IniFile ini(mainIniPath(paths));
    if (!ini.load(error))
        return false;
    ini.setValue(u"config"_s, u"user_logon"_s, on ? u"T"_s : u"F"_s);
    return ini.save(error);
}

} // namespace account
