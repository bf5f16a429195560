// The real exambank finds a newer bank on a local server, the question is answered with OK, and
// the real updater it starts with the update address and the last update date merges the bank.
#include "shell/inifile.h"
#include "support/httpserver.h"
#include "support/testbank.h"
#include "text/gbk.h"
#include "text/netprobe.h"
#include "unit/update_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// The command lines of running processes whose program is the given file.
QList<std::pair<qint64, QStringList>> processesOf(const QString &program)
{
    QList<std::pair<qint64, QStringList>> found;
    const QStringList pids = QDir(u"/proc"_s).entryList({u"[0-9]*"_s}, QDir::Dirs);
    for (const QString &pid : pids) {
        QFile f(u"/proc/%1/cmdline"_s.arg(pid));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        QList<QByteArray> parts = f.readAll().split('\0');
        if (!parts.isEmpty() && parts.last().isEmpty())
            parts.removeLast();
        if (parts.isEmpty() || QString::fromLocal8Bit(parts.first()) != program)
            continue;
        QStringList args;
        for (qsizetype k = 1; k < parts.size(); ++k)
            args << QString::fromLocal8Bit(parts.at(k));
        found.append({pid.toLongLong(), args});
    }
    return found;
}

} // namespace

class ExambankUpdate : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void newerListStartsTheUpdaterWhichMergesTheBank()
    {
        if (!text::isOnline())
            QSKIP("this machine reports no network connection: exambank would not look for updates");
        TestBank local(u"e2e-local"_s);
        local.addCourse(u"M1"_s, u"会计基础"_s);
        local.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        for (const QString &program : {u"update"_s, u"exambank"_s})
            QVERIFY(QFile::copy(QDir(QStringLiteral(QM_APP_DIR)).filePath(program), local.path(program)));
        TestBank incoming(u"e2e-incoming"_s);
        incoming.addCourse(u"M1"_s, u"会计基础"_s);
        incoming.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        for (int k = 1; k <= 5; ++k)
            incoming.addQuestion(u"C1"_s, u"P%1"_s.arg(k), 1, u"A"_s);

        HttpServer server;
        server.route("/q/up.txt", 200, "2009-06-01\r\n\r\nsys.htm\r\n");
        server.route("/q/sys.htm", 200, updatetest::bankBytes(incoming));
        const QString address = server.base() + u"/q/"_s;
        local.writeFile(u"main.ini"_s, (u"[main]\r\nftp_url="_s + text::hexXorEncode(address) +
                                        u"\r\n[config]\r\nupdate_before_time=2009-05-01\r\n"_s)
                                           .toUtf8());
        QCOMPARE(local.count(u"ex_page_id"_s), 0);

        QTemporaryDir runtime; // the single-instance lock, away from any other running copy
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"QM_MESSAGE_LOG"_s, u"1"_s); // the question is answered with OK
        env.insert(u"QM_UPDATE_AUTOSTART"_s, u"1"_s);
        env.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        QProcess exambank;
        exambank.setProcessEnvironment(env);
        exambank.setWorkingDirectory(local.dir());
        exambank.start(local.path(u"exambank"_s), {});
        QVERIFY2(exambank.waitForStarted(), qPrintable(exambank.errorString()));

        // The server answers from this process's event loop while the two programs work.
        QString log;
        const auto merged = [&] {
            log += QString::fromUtf8(exambank.readAllStandardError());
            return local.count(u"ex_page_id"_s) == 5 && log.contains(u"[记录变动提示]"_s);
        };
        QTRY_VERIFY2_WITH_TIMEOUT(merged() || exambank.state() == QProcess::NotRunning, qPrintable(log), 120000);
        QVERIFY2(merged(), qPrintable(log));
        QVERIFY2(log.contains(u"message [题库升级]: 题库有更新，是否现在进行升级?"_s), qPrintable(log));
        QVERIFY2(log.contains(u"题目增加:5  条"_s), qPrintable(log));
        QCOMPARE(server.requests("/q/up.txt"), 2); // exambank's check, then the updater's
        QCOMPARE(server.requests("/q/sys.htm"), 1);

        const auto updaters = processesOf(local.path(u"update"_s));
        QCOMPARE(updaters.size(), 1);
        QCOMPARE(updaters.first().second, (QStringList{address, u"2009-05-01"_s}));
        IniFile ini(local.path(u"main.ini"_s));
        QVERIFY(ini.load());
        QCOMPARE(ini.value(u"config"_s, u"update_before_time"_s), u"2009-06-01"_s);
        QCOMPARE(exambank.state(), QProcess::Running); // it does not wait for the updater

        ::kill(pid_t(updaters.first().first), SIGTERM);
        exambank.kill();
        exambank.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(ExambankUpdate)
#include "exambank_update.moc"
