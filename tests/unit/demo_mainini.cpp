// The main.ini that ships with the program: every key at its default, encoded keys encoded, and
// the date of the last update left to the updater.
#include "shell/appconfig.h"
#include "shell/inifile.h"
#include "text/gbk.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class DemoMainIniTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyKeyAtItsDefault()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QProcess tool;
        tool.start(QStringLiteral(QM_ASSETS_TOOL), {u"ini"_s, dir.filePath(u"main.ini"_s)});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);

        IniFile ini(dir.filePath(u"main.ini"_s));
        QVERIFY(ini.load());
        for (const ConfigKey &k : configKeys()) {
            const QString section = QString::fromUtf16(k.section);
            const QString key = QString::fromUtf16(k.key);
            if (!k.fallback) {
                QVERIFY2(!ini.contains(section, key), qPrintable(key));
                continue;
            }
            const QString fallback = QString::fromUtf16(k.fallback);
            QCOMPARE(ini.value(section, key), k.encoded ? text::hexXorEncode(fallback) : fallback);
        }

        const QDate today(2024, 5, 6);
        QStringList errors;
        const AppConfig config = AppConfig::read(ini, today, &errors);
        QVERIFY(errors.isEmpty());
        QCOMPARE(config.newsUrl, u"no"_s);
        QCOMPARE(config.anwserUrl, u"no"_s);
        QCOMPARE(config.ftpUrl, u"no"_s);
        QCOMPARE(config.poUrl1, QString());
        QCOMPARE(config.userPidEncoded, QString());
        QCOMPARE(config.updateBeforeTime, u"2024-05-06"_s);
        QCOMPARE(config.programFrame, 0x0000FFu);
        QVERIFY(!config.loginRequired());
    }
};

QTEST_GUILESS_MAIN(DemoMainIniTest)
#include "demo_mainini.moc"
