// The start-up login's account in user_logon and its switch in main.ini.
#include "db/sql.h"
#include "shell/inifile.h"
#include "support/testbank.h"
#include "windows/useraccount.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class UserAccount : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void login_data()
    {
        QTest::addColumn<QStringList>("rows"); // name, password, name, password, ...
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accepted");
        const QStringList one{u"张三"_s, u"s3cret"_s};
        QTest::newRow("stored name and password") << one << u"张三"_s << u"s3cret"_s << true;
        QTest::newRow("other password") << one << u"张三"_s << u"secret"_s << false;
        QTest::newRow("other name") << one << u"李四"_s << u"s3cret"_s << false;
        QTest::newRow("password in other case") << one << u"张三"_s << u"S3CRET"_s << false;
        QTest::newRow("trailing blank") << one << u"张三 "_s << u"s3cret"_s << false;
        QTest::newRow("empty table, empty boxes") << QStringList() << QString() << QString() << false;
        QTest::newRow("two identical rows") << one + one << u"张三"_s << u"s3cret"_s << false;
        // Quotes are characters of the name or password, not part of the statement.
        const QStringList quoted{u"O'Brien"_s, u"a' or '1'='1"_s};
        QTest::newRow("quote in name and password") << quoted << u"O'Brien"_s << u"a' or '1'='1"_s << true;
        QTest::newRow("injection attempt") << one << u"x' or '1'='1"_s << u"x' or '1'='1"_s << false;
        QTest::newRow("injection with comment") << one << u"张三'--"_s << QString() << false;
        const QStringList blanks{u"  Wang  Wu "_s, u"p a s s"_s};
        QTest::newRow("blanks kept") << blanks << u"  Wang  Wu "_s << u"p a s s"_s << true;
        QTest::newRow("blanks not trimmed") << blanks << u"Wang  Wu"_s << u"p a s s"_s << false;
    }
    void login()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(bool, accepted);
        TestBank bank;
        for (qsizetype k = 0; k + 1 < rows.size(); k += 2)
            bank.insert(u"user_logon"_s, {rows.at(k), rows.at(k + 1)});
        QCOMPARE(account::matches(bank.db(), name, password), accepted);
    }

    void storeKeepsOneAccount()
    {
        TestBank bank;
        QVERIFY(!account::stored(bank.db()));
        account::store(bank.db(), {u"O'Brien"_s, u"pa'ss"_s});
        QCOMPARE(bank.count(u"user_logon"_s), 1);
        auto a = account::stored(bank.db());
        QVERIFY(a);
        QCOMPARE(a->name, u"O'Brien"_s);
        QCOMPARE(a->password, u"pa'ss"_s);
        QVERIFY(account::matches(bank.db(), u"O'Brien"_s, u"pa'ss"_s));

        // Two rows left by someone else: afterwards only the new account is there.
        bank.insert(u"user_logon"_s, {u"O'Brien"_s, u"pa'ss"_s});
        account::store(bank.db(), {u"李四"_s, u""_s});
        QCOMPARE(bank.count(u"user_logon"_s), 1);
        QCOMPARE(account::stored(bank.db())->name, u"李四"_s);
        QVERIFY(account::matches(bank.db(), u"李四"_s, QString()));
        // An empty box (a null text) stores an empty password that an empty box matches again.
        account::store(bank.db(), {u"王五"_s, QString()});
        QVERIFY(account::matches(bank.db(), u"王五"_s, u""_s));
        QVERIFY(account::matches(bank.db(), u"王五"_s, QString()));
        QCOMPARE(bank.count(u"user_logon"_s, u"user_pass = ''"_s), 1);
    }

    void failedStoreLeavesTheTable()
    {
        TestBank bank;
        account::store(bank.db(), {u"张三"_s, u"1"_s});
        // The insert fails: the delete before it is undone with it and the old account stays.
        db::run(bank.db(), u"create trigger no_long before insert on user_logon when length(new.user_pass) > 5 "
                           u"begin select raise(abort, 'too long'); end"_s);
        QVERIFY_THROWS_EXCEPTION(db::Error, account::store(bank.db(), {u"李四"_s, u"123456"_s}));
        QCOMPARE(bank.count(u"user_logon"_s), 1);
        QCOMPARE(account::stored(bank.db())->name, u"张三"_s);
    }

    void loginSwitchInMainIni_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("switched on, other lines kept")
            << "; publisher\r\n[main]\r\nnews_url=1234\r\n[Config]\r\nUser_Logon=F\r\nbeep=1\r\n"_ba << true
            << "; publisher\r\n[main]\r\nnews_url=1234\r\n[Config]\r\nUser_Logon=T\r\nbeep=1\r\n"_ba;
        QTest::newRow("switched off") << "[config]\r\nuser_logon=T\r\n"_ba << false
                                      << "[config]\r\nuser_logon=F\r\n"_ba;
        QTest::newRow("key added to its section")
            << "[main]\r\n[config]\r\nbeep=0\r\n"_ba << true << "[main]\r\n[config]\r\nbeep=0\r\nuser_logon=T\r\n"_ba;
        QTest::newRow("no file yet") << QByteArray() << true << "[config]\r\nuser_logon=T\r\n"_ba;
    }
    void loginSwitchInMainIni()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, on);
        QFETCH(QByteArray, after);
        TestBank bank;
        if (before.isEmpty())
            QVERIFY(QFile::remove(bank.path(u"main.ini"_s)));
        else
            bank.writeFile(u"main.ini"_s, before);
        QString error;
        QVERIFY2(account::writeLoginSwitch(bank.dir(), on, &error), qPrintable(error));
        QFile f(bank.path(u"main.ini"_s));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), after);
    }

    void loginSwitchNotWritableIsReported()
    {
        TestBank bank;
        // main.ini as a folder: neither readable as a file nor replaceable.
        QVERIFY(QFile::remove(bank.path(u"main.ini"_s)));
        QVERIFY(QDir(bank.dir()).mkdir(u"main.ini"_s));
        QString error;
        QVERIFY(!account::writeLoginSwitch(bank.dir(), true, &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(UserAccount)
#include "user_account.moc"
