#include "shell/appconfig.h"
#include "shell/inifile.h"
#include "text/gbk.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
QByteArray utf16le(const char16_t *text)
{
    QByteArray out;
    for (const char16_t *c = text; *c; ++c)
        out += char(*c & 0xFF), out += char(*c >> 8);
    return out;
}

QByteArray utf16be(const char16_t *text)
{
    QByteArray out;
    for (const char16_t *c = text; *c; ++c)
        out += char(*c >> 8), out += char(*c & 0xFF);
    return out;
}

// The file's bytes after loading it from disk, setting one key and saving it.
QByteArray savedAfterSetting(const QByteArray &bytes, const QString &section, const QString &key, const QString &value,
                             QString *valueBefore = nullptr)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"main.ini"_s);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    file.close();
    IniFile ini(path);
    if (!ini.load())
        return {};
    if (valueBefore)
        *valueBefore = ini.value(section, key);
    ini.setValue(section, key, value);
    if (!ini.save() || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

AppConfig readText(const QString &text, QStringList *errors = nullptr)
{
    IniFile ini;
    ini.setText(text);
    return AppConfig::read(ini, QDate(2026, 3, 5), errors);
}
} // namespace

class Configuration : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void emptyFileGivesDefaults()
    {
        QStringList errors;
        const AppConfig c = readText(QString(), &errors);
        QVERIFY(errors.isEmpty());
        QCOMPARE(c.newsUrl, u"no"_s);
        QCOMPARE(c.anwserUrl, u"no"_s);
        QCOMPARE(c.ftpUrl, u"no"_s);
        QCOMPARE(c.autoTime, u"30"_s);
        QCOMPARE(c.eTimeTotal, u"120"_s);
        QVERIFY(!c.beepEnabled());
        QVERIFY(!c.loginRequired());
        QCOMPARE(c.userPidEncoded, QString());
        QCOMPARE(c.updateBeforeTime, u"2026-03-05"_s);
        QCOMPARE(c.poUrl1, QString());
        QCOMPARE(c.programFrame, 0x0000FFu); // "$ff0000" is blue in blue-green-red order
        QCOMPARE(c.staticBarColor, 0x0000FFu);
        QCOMPARE(c.updateDays, u"30"_s);
        QString pwd = u"x"_s;
        QVERIFY(decodeUserPid(c, &pwd));
        QCOMPARE(pwd, QString());
    }

    void namesIgnoreCaseAndValuesDecode()
    {
        const QString text = u"; publisher settings\r\n[MAIN]\r\nNews_Url=%1\r\n[Config]\r\nBEEP=1\r\nuser_logon=t\r\n"
                             "user_pid=%2\r\nprogram_frame=$00ff00\r\nstatic_bar_color=255\r\n"_s.arg(
                                 text::hexXorEncode(u"http://news.test/a.htm"_s), text::hexXorEncode(u"密码1"_s));
        QStringList errors;
        const AppConfig c = readText(text, &errors);
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
        QCOMPARE(c.newsUrl, u"http://news.test/a.htm"_s);
        QVERIFY(c.beepEnabled());
        QVERIFY(!c.loginRequired()); // "t" is not "T"
        QString pwd;
        QVERIFY(decodeUserPid(c, &pwd));
        QCOMPARE(pwd, u"密码1"_s);
        QCOMPARE(c.programFrame, 0x00FF00u);
        QCOMPARE(c.staticBarColor, 0xFF0000u); // 255 = pure red as a Windows colour number
    }

    void beepOnlyForOne_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("beeps");
        QTest::newRow("1") << u"1"_s << true;
        QTest::newRow("yes") << u"yes"_s << false;
        QTest::newRow("0") << u"0"_s << false;
        QTest::newRow("empty") << QString() << false;
    }
    void beepOnlyForOne()
    {
        QFETCH(QString, value);
        QFETCH(bool, beeps);
        QCOMPARE(readText(u"[config]\nbeep="_s + value).beepEnabled(), beeps);
    }

    void malformedValuesReportedOnceAndDefaulted_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::newRow("colour not a number") << u"program_frame=blue"_s << u"config"_s << u"program_frame"_s;
        QTest::newRow("colour too large") << u"static_bar_color=$1ffffff"_s << u"config"_s << u"static_bar_color"_s;
        QTest::newRow("url not hex") << u"news_url=http://x"_s << u"main"_s << u"news_url"_s;
        QTest::newRow("password not hex") << u"user_pid=zz"_s << u"config"_s << u"user_pid"_s;
    }
    void malformedValuesReportedOnceAndDefaulted()
    {
        QFETCH(QString, line);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QStringList errors;
        const AppConfig c = readText(u"[%1]\n%2\n"_s.arg(section, line), &errors);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().contains(key));
        QCOMPARE(c.newsUrl, u"no"_s);
        QCOMPARE(c.programFrame, 0x0000FFu);
        QCOMPARE(c.staticBarColor, 0x0000FFu);
        QCOMPARE(c.userPidEncoded, QString());
    }

    void writeKeepsOtherLines()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"main.ini"_s);
        IniFile ini(path);
        ini.setText(u"; keep me\n[main]\nnews_url=3435\n\n[config]\nauto_time=45\nunknown=1\n\n[other]\nx=y\n"_s);
        ini.setValue(u"CONFIG"_s, u"User_Logon"_s, u"T"_s);
        ini.setValue(u"config"_s, u"auto_time"_s, u"50"_s);
        ini.setValue(u"newsection"_s, u"k"_s, u"v"_s);
        QVERIFY(ini.save());

        IniFile back(path);
        QVERIFY(back.load());
        QCOMPARE(back.value(u"config"_s, u"user_logon"_s), u"T"_s);
        QCOMPARE(back.value(u"config"_s, u"auto_time"_s), u"50"_s);
        QCOMPARE(back.value(u"config"_s, u"unknown"_s), u"1"_s);
        QCOMPARE(back.value(u"other"_s, u"x"_s), u"y"_s);
        QCOMPARE(back.value(u"newsection"_s, u"k"_s), u"v"_s);
        QVERIFY(back.text().startsWith(u"; keep me\r\n[main]\r\nnews_url=3435\r\n"_s));
        // The new key sits inside [config], before the blank line that ends it.
        QVERIFY(back.text().contains(u"unknown=1\r\nUser_Logon=T\r\n\r\n[other]"_s));
        QCOMPARE(back.value(u"config"_s, u"missing"_s, u"dflt"_s), u"dflt"_s);
    }

    // A file keeps its encoding and the bytes of every line that was not set, whatever they are.
    void writeKeepsEncodingAndBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("utf-16le with its mark")
            << "\xFF\xFE"_ba + utf16le(u"[config]\r\nauto_time=45\r\n; 注释\r\n") << u"user_logon"_s << QString()
            << "\xFF\xFE"_ba + utf16le(u"[config]\r\nauto_time=45\r\n; 注释\r\nuser_logon=T\r\n");
        QTest::newRow("utf-16be with its mark")
            << "\xFE\xFF"_ba + utf16be(u"[config]\r\nuser_logon=F\r\n") << u"user_logon"_s << u"F"_s
            << "\xFE\xFF"_ba + utf16be(u"[config]\r\nuser_logon=T\r\n");
        QTest::newRow("utf-8 mark kept, lines end in CRLF")
            << "\xEF\xBB\xBF[config]\nuser_logon=F\n; \xE4\xB8\xAD\n"_ba << u"user_logon"_s << u"F"_s
            << "\xEF\xBB\xBF[config]\r\nuser_logon=T\r\n; \xE4\xB8\xAD\r\n"_ba;
        // "; 配置" in GBK, and a line holding a byte that is no character in GBK either.
        QTest::newRow("gbk with a stray byte")
            << "; \xC5\xE4\xD6\xC3\r\n[config]\r\n\xB0\r\nuser_logon=F\r\n"_ba << u"user_logon"_s << u"F"_s
            << "; \xC5\xE4\xD6\xC3\r\n[config]\r\n\xB0\r\nuser_logon=T\r\n"_ba;
        // The last byte of a UTF-16 file halves a character: the lines are written anew.
        QTest::newRow("utf-16le cut short")
            << "\xFF\xFE"_ba + utf16le(u"[config]\r\nuser_logon=F\r\nx") + "y"_ba << u"user_logon"_s << u"F"_s
            << "\xFF\xFE"_ba + utf16le(u"[config]\r\nuser_logon=T\r\nx\xFFFD\r\n");
    }
    void writeKeepsEncodingAndBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, key);
        QFETCH(QString, before);
        QFETCH(QByteArray, after);
        QString read;
        QCOMPARE(savedAfterSetting(bytes, u"config"_s, key, u"T"_s, &read), after);
        QCOMPARE(read, before);
    }

    // The only bytes that were not UTF-8 stood in the value that was set: the rest of the file is then
    // written as UTF-8, so that it reads back as it read before.
    void gbkFileThatWouldReadAsUtf8()
    {
        // "新题库" in GBK, then "; 中" in UTF-8, which the file's reader takes for GBK.
        const QByteArray bytes = "[main]\r\nalter_con=\xD0\xC2\xCC\xE2\xBF\xE2\r\n; \xE4\xB8\xAD\r\n"_ba;
        IniFile ini;
        ini.setBytes(bytes);
        QCOMPARE(ini.value(u"main"_s, u"alter_con"_s), u"新题库"_s);
        QVERIFY(!ini.text().contains(u"; 中"_s));
        ini.setValue(u"main"_s, u"alter_con"_s, u"x"_s);
        IniFile back;
        back.setBytes(ini.bytes());
        QCOMPARE(back.text(), ini.text());
        QCOMPARE(back.value(u"main"_s, u"alter_con"_s), u"x"_s);
    }

    void gbkFileReads()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"alter.ini"_s);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text::toGbk(u"[main]\r\nalter_con=新题库已发布\r\nalter_url=http://x/\r\n"_s));
        f.close();
        IniFile ini(path);
        QVERIFY(ini.load());
        QCOMPARE(ini.value(u"main"_s, u"alter_con"_s), u"新题库已发布"_s);
    }
};

QTEST_GUILESS_MAIN(Configuration)
#include "configuration.moc"
