// The start-up login window and the login-settings window over a throw-away program folder.
#include "shell/apppaths.h"
#include "shell/inifile.h"
#include "shell/ui/messages.h"
#include "support/testbank.h"
#include "windows/ui/loginsettingswindow.h"
#include "windows/ui/loginwindow.h"
#include "windows/useraccount.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kWrongLogin =
    u"错误用户名或是密码,请重新输入...\r\n\n如果您是本机使用用户,请勿操作,以免影响该机学习计划"_s;
const QString kApplied = u"            成功修改...             "_s;
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kSilver(0xC0, 0xC0, 0xC0);

template <typename T> T *child(QWidget *w, const QString &name)
{
    T *c = w->findChild<T *>(name);
    if (!c)
        qFatal("no %s", qPrintable(name));
    return c;
}

QString iniValue(const TestBank &bank)
{
    IniFile ini(bank.path(u"main.ini"_s));
    ini.load();
    return ini.value(u"config"_s, u"user_logon"_s, u"<none>"_s);
}

} // namespace

class LoginWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loginWindowLayout()
    {
        TestBank bank;
        AppPaths::setCurrent(bank.dir());
        LoginWindow w;
        w.setHeadline(u"Quillmark"_s);
        w.show();
        QCOMPARE(w.objectName(), u"user_lo"_s);
        QCOMPARE(w.windowTitle(), u"登陆窗口"_s);
        QVERIFY(!w.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QCOMPARE(child<QLabel>(&w, u"Label1"_s)->text(), u"Quillmark"_s);
        QCOMPARE(child<QLabel>(&w, u"Label1"_s)->font().pixelSize(), 27);
        auto *password = child<QLineEdit>(&w, u"Edit2"_s);
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QCOMPARE(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password), int('*'));
        QCOMPARE(w.focusWidget(), child<QLineEdit>(&w, u"Edit1"_s));
        QCOMPARE(child<QPushButton>(&w, u"Button1"_s)->text(), u"登陆"_s);
        QCOMPARE(child<QPushButton>(&w, u"Button2"_s)->text(), u"取消"_s);
        QCOMPARE(child<QLabel>(&w, u"Label2"_s)->buddy(), child<QLineEdit>(&w, u"Edit1"_s));
        QCOMPARE(child<QLabel>(&w, u"Label3"_s)->buddy(), child<QLineEdit>(&w, u"Edit2"_s));
    }

    void login_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("stored account") << u"O'Brien"_s << u"p'w 1"_s << true;
        QTest::newRow("other password") << u"O'Brien"_s << u"p'w"_s << false;
        QTest::newRow("quote trick") << u"' or ''='"_s << u"' or ''='"_s << false;
        QTest::newRow("empty") << QString() << QString() << false;
    }
    void login()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(bool, accepted);
        TestBank bank;
        account::store(bank.db(), {u"O'Brien"_s, u"p'w 1"_s});
        messages::Responder responder;
        AppPaths::setCurrent(bank.dir());
        LoginWindow w;
        QSignalSpy done(&w, &QDialog::finished);
        w.show();
        auto *nameBox = child<QLineEdit>(&w, u"Edit1"_s);
        QTest::keyClicks(nameBox, name);
        child<QLineEdit>(&w, u"Edit2"_s)->setText(password);
        child<QPushButton>(&w, u"Button1"_s)->click();
        if (accepted) {
            QCOMPARE(done.size(), 1);
            QCOMPARE(w.result(), int(QDialog::Accepted));
            QVERIFY(responder.shown().isEmpty());
            return;
        }
        QVERIFY(done.isEmpty());
        QVERIFY(w.isVisible());
        QCOMPARE(responder.shown().size(), 1);
        QCOMPARE(responder.lastText(), kWrongLogin);
        QCOMPARE(responder.shown().last().caption, u"警告信息"_s);
        QCOMPARE(nameBox->selectedText(), name);
        QCOMPARE(w.focusWidget(), nameBox);
    }

    void loginShowsEmptyBoxesEachTime()
    {
        TestBank bank;
        AppPaths::setCurrent(bank.dir());
        LoginWindow w;
        w.show();
        child<QLineEdit>(&w, u"Edit1"_s)->setText(u"x"_s);
        child<QLineEdit>(&w, u"Edit2"_s)->setText(u"y"_s);
        w.hide();
        w.show();
        QVERIFY(child<QLineEdit>(&w, u"Edit1"_s)->text().isEmpty());
        QVERIFY(child<QLineEdit>(&w, u"Edit2"_s)->text().isEmpty());
    }

    void cancelAsksFirst_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("取消") << false;
        QTest::newRow("Escape key") << true;
    }
    void cancelAsksFirst()
    {
        QFETCH(bool, byEscape);
        TestBank bank;
        messages::Responder responder;
        AppPaths::setCurrent(bank.dir());
        LoginWindow w;
        QSignalSpy done(&w, &QDialog::finished);
        w.show();
        const auto cancel = [&] {
            if (byEscape)
                QTest::keyClick(&w, Qt::Key_Escape);
            else
                child<QPushButton>(&w, u"Button2"_s)->click();
        };
        responder.queue(messages::Answer::No);
        cancel();
        QCOMPARE(responder.lastText(), u"确定退出程序吗..."_s);
        QCOMPARE(responder.shown().last().caption, u"提示信息"_s);
        QVERIFY(done.isEmpty());
        QVERIFY(w.isVisible());
        responder.queue(messages::Answer::Yes);
        cancel();
        QCOMPARE(done.size(), 1);
        QCOMPARE(w.result(), int(QDialog::Rejected));
    }

    void settingsWindowStartsFromTheStartUpValue_data()
    {
        QTest::addColumn<QString>("userLogon");
        QTest::addColumn<bool>("checked");
        QTest::newRow("T") << u"T"_s << true;
        QTest::newRow("F") << u"F"_s << false;
        // Anything but "F" counts as on here, while only "T" asks for the login at start-up.
        QTest::newRow("t") << u"t"_s << true;
    }
    void settingsWindowStartsFromTheStartUpValue()
    {
        QFETCH(QString, userLogon);
        QFETCH(bool, checked);
        TestBank bank;
        account::store(bank.db(), {u"张三"_s, u"s3cret"_s});
        AppPaths::setCurrent(bank.dir());
        LoginSettingsWindow w(userLogon);
        w.show();
        QCOMPARE(w.objectName(), u"m_config"_s);
        QCOMPARE(w.windowTitle(), u"系统设置"_s);
        QCOMPARE(w.size(), QSize(409, 234));
        QVERIFY(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!w.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QCOMPARE(child<QCheckBox>(&w, u"CheckBox1"_s)->text(), u"设置用户登陆"_s);
        QCOMPARE(child<QCheckBox>(&w, u"CheckBox1"_s)->isChecked(), checked);
        auto *name = child<QLineEdit>(&w, u"Edit1"_s);
        auto *password = child<QLineEdit>(&w, u"Edit2"_s);
        // The stored account shows in plain text while the login is on.
        QCOMPARE(name->text(), checked ? u"张三"_s : QString());
        QCOMPARE(password->text(), checked ? u"s3cret"_s : QString());
        QCOMPARE(password->echoMode(), QLineEdit::Normal);
        for (QLineEdit *box : {name, password}) {
            QCOMPARE(box->isEnabled(), checked);
            QCOMPARE(box->palette().color(QPalette::Base), checked ? kWhite : kSilver);
        }
        QCOMPARE(child<QLabel>(&w, u"Label3"_s)->text(), u"注意：此设置为了防止别人恶意登陆，扰乱您的正常学习评估，"_s);
        QCOMPARE(child<QLabel>(&w, u"Label4"_s)->text(), u"但若密码丢失，则无法找回，请谨慎设置！"_s);
    }

    void switchColoursTheBoxes()
    {
        TestBank bank;
        AppPaths::setCurrent(bank.dir());
        LoginSettingsWindow w(u"T"_s);
        w.show();
        auto *box = child<QCheckBox>(&w, u"CheckBox1"_s);
        auto *name = child<QLineEdit>(&w, u"Edit1"_s);
        QVERIFY(name->text().isEmpty()); // no account stored yet
        box->click();
        QVERIFY(!name->isEnabled());
        QCOMPARE(name->palette().color(QPalette::Base), kSilver);
        box->click();
        QVERIFY(name->isEnabled());
        QCOMPARE(name->palette().color(QPalette::Base), kWhite);
    }

    void applyOn()
    {
        TestBank bank;
        bank.writeFile(u"main.ini"_s, "[main]\r\n[config]\r\nuser_logon=F\r\nbeep=1\r\n");
        bank.insert(u"user_logon"_s, {u"old"_s, u"old"_s});
        messages::Responder responder;
        AppPaths::setCurrent(bank.dir());
        LoginSettingsWindow w(u"F"_s);
        w.show();
        child<QCheckBox>(&w, u"CheckBox1"_s)->click();
        QTest::keyClicks(child<QLineEdit>(&w, u"Edit1"_s), u"O'Brien"_s);
        QTest::keyClicks(child<QLineEdit>(&w, u"Edit2"_s), u"a'b c"_s);
        child<QPushButton>(&w, u"Button2"_s)->click();
        QCOMPARE(responder.lastText(), kApplied);
        QCOMPARE(responder.shown().last().caption, u"信息提示"_s);
        QCOMPARE(iniValue(bank), u"T"_s);
        QCOMPARE(bank.count(u"user_logon"_s), 1);
        QVERIFY(account::matches(bank.db(), u"O'Brien"_s, u"a'b c"_s));
        IniFile ini(bank.path(u"main.ini"_s));
        QVERIFY(ini.load());
        QCOMPARE(ini.value(u"config"_s, u"beep"_s), u"1"_s);
    }

    void applyOffKeepsTheAccount()
    {
        TestBank bank;
        bank.writeFile(u"main.ini"_s, "[config]\r\nuser_logon=T\r\n");
        account::store(bank.db(), {u"张三"_s, u"s3cret"_s});
        messages::Responder responder;
        AppPaths::setCurrent(bank.dir());
        LoginSettingsWindow w(u"T"_s);
        w.show();
        child<QCheckBox>(&w, u"CheckBox1"_s)->click();
        child<QPushButton>(&w, u"Button2"_s)->click();
        QCOMPARE(responder.lastText(), kApplied);
        QCOMPARE(iniValue(bank), u"F"_s);
        QVERIFY(account::matches(bank.db(), u"张三"_s, u"s3cret"_s));
    }

    void applyThatCannotWriteSaysSo()
    {
        TestBank bank;
        QVERIFY(QFile::remove(bank.path(u"main.ini"_s)));
        QVERIFY(QDir(bank.dir()).mkdir(u"main.ini"_s)); // neither readable nor replaceable
        messages::Responder responder;
        AppPaths::setCurrent(bank.dir());
        LoginSettingsWindow w(u"F"_s);
        w.show();
        child<QPushButton>(&w, u"Button2"_s)->click();
        QCOMPARE(responder.shown().size(), 1);
        QCOMPARE(responder.shown().last().caption, u"错误信息"_s);
        QVERIFY(responder.lastText() != kApplied);
    }

    void quitClosesAndFrees()
    {
        TestBank bank;
        AppPaths::setCurrent(bank.dir());
        QPointer<LoginSettingsWindow> w = new LoginSettingsWindow(u"F"_s);
        w->show();
        QCOMPARE(child<QPushButton>(w, u"Button1"_s)->text(), u"退出"_s);
        child<QPushButton>(w, u"Button1"_s)->click();
        QTRY_VERIFY(w.isNull());
    }
};

QTEST_MAIN(LoginWindows)
#include "login_windows.moc"
