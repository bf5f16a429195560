// The real update program in a copy of the program folder: the command-line mode merging a bank
// while exambank holds the same database open and the learner's answers keep being written, a
// merge killed half-way, and the online update against a local server.
#include "db/sql.h"
#include "shell/inifile.h"
#include "support/httpserver.h"
#include "support/testbank.h"
#include "unit/update_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using updatetest::bankBytes;
using updatetest::fileBytes;

// Copies both programs into the test's program folder; they find their folder from their own path.
void installPrograms(const TestBank &bank)
{
    for (const QString &program : {u"update"_s, u"exambank"_s}) {
        const QString target = bank.path(program);
        QFile::remove(target);
        if (!QFile::copy(QDir(QStringLiteral(QM_APP_DIR)).filePath(program), target))
            qFatal("cannot copy %s from %s", qPrintable(program), QM_APP_DIR);
    }
}

void startUpdate(QProcess &process, const TestBank &bank, const QStringList &args)
{
    process.setWorkingDirectory(bank.dir());
    process.start(bank.path(u"update"_s), args);
    QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
}

void addQuestions(const TestBank &bank, int count)
{
    db::Transaction tx(bank.db());
    bank.addCourse(u"M1"_s, u"会计基础"_s);
    bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
    for (int k = 1; k <= count; ++k)
        bank.addQuestion(u"C1"_s, u"P%1"_s.arg(k, 6, 10, QLatin1Char('0')), 1 + k % 3, u"A"_s);
    tx.commit();
}

// The row count of every merged table, in merge order.
QList<int> rowCounts(const TestBank &bank)
{
    QList<int> counts;
    for (const QString &table : {u"ma_id"_s, u"cap_id"_s, u"ex_page_id"_s, u"ex_sub"_s, u"ks_net"_s, u"ks_jy"_s,
                                 u"ks_dg"_s, u"soft_text"_s, u"ks_ad"_s})
        counts << bank.count(table);
    return counts;
}

// Whether the process has the file open.
bool hasOpen(qint64 pid, const QString &file)
{
    const QString target = QFileInfo(file).canonicalFilePath();
    const QDir fds(u"/proc/%1/fd"_s.arg(pid));
    for (const QFileInfo &fd : fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (fd.symLinkTarget() == target)
            return true;
    }
    return false;
}

constexpr qint64 kWritingWalBytes = 256 * 1024;

const QByteArray kMainIni = "[main]\r\n[config]\r\nupdate_before_time=2009-05-01\r\n";

} // namespace

class UpdateProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void mergeWhileExambankWrites()
    {
        TestBank local;
        installPrograms(local);
        local.addCourse(u"M1"_s, u"旧名"_s);
        TestBank incoming(u"incoming"_s);
        addQuestions(incoming, 30000);
        incoming.addCase(u"C1"_s, u"CASE1"_s, 3);
        const QString incomingFile = incoming.path(u"data/sys.htm"_s);

        QProcess exambank;
        exambank.setWorkingDirectory(local.dir());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"QM_MESSAGE_LOG"_s, u"1"_s);
        QTemporaryDir runtime; // its single-instance lock, away from any other running copy
        env.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        exambank.setProcessEnvironment(env);
        exambank.start(local.path(u"exambank"_s), {});
        QVERIFY2(exambank.waitForStarted(), qPrintable(exambank.errorString()));
        // Up with the bank open: it keeps running.
        QVERIFY2(!exambank.waitForFinished(3000), exambank.readAllStandardError().constData());

        QProcess update;
        startUpdate(update, local, {u"--merge"_s, incomingFile});
        // The learner goes on answering: one answer record every few milliseconds, through a
        // connection of its own, for as long as the update runs. An answer counts as stored
        // while the merge ran when update had the new bank open before it was written and the
        // merged questions were not there yet after it.
        int written = 0;
        int duringMerge = 0;
        bool mergeUnderWay = false;
        bool partial = false;
        do {
            const bool seenBefore = mergeUnderWay;
            db::run(local.db(), u"insert into test_page (page_id, p_id, p_answer) values (?, ?, ?)"_s,
                    {u"20300101000000"_s, u"W%1"_s.arg(written), u"A"_s});
            ++written;
            const int questions = local.count(u"ex_page_id"_s);
            if (seenBefore && questions == 0)
                ++duringMerge;
            partial = partial || (questions > 0 && questions < 30001);
            mergeUnderWay = mergeUnderWay || hasOpen(update.processId(), incomingFile);
        } while (!update.waitForFinished(5));

        const QString out = QString::fromUtf8(update.readAllStandardOutput());
        const QString err = QString::fromUtf8(update.readAllStandardError());
        QCOMPARE(update.exitStatus(), QProcess::NormalExit);
        QVERIFY2(update.exitCode() == 0, qPrintable(err));
        QVERIFY2(out.contains(u"题目增加:30001  条"_s) && out.contains(u"案例子项题目增加:3  条"_s), qPrintable(out));
        QVERIFY(out.trimmed().endsWith(u"本次更新成功...."_s));
        QCOMPARE(local.count(u"ex_page_id"_s), 30001);
        QCOMPARE(db::scalar(local.db(), u"select m_name from ma_id where m_id='M1'"_s).toString(), u"会计基础"_s);
        QCOMPARE(local.count(u"test_page"_s), written);
        qInfo("%d answers written while update ran, %d of them while the merge was under way", written, duringMerge);
        QVERIFY(duringMerge > 0);
        QVERIFY2(!partial, "a reader saw part of the merged questions");
        QCOMPARE(exambank.state(), QProcess::Running); // still working on the same bank
        exambank.kill();
        exambank.waitForFinished();
    }

    // A kill -9 leaves the bank as it was or fully merged, never part-way, and the next merge
    // completes.
    // The command line ends its report with the questions whose key changed and how many of them
    // the learner had answered.
    void changedKeysOnTheCommandLine()
    {
        TestBank local;
        installPrograms(local);
        addQuestions(local, 4);
        local.insert(u"test_page"_s,
                     {u"20200101080000"_s, u"P000001"_s, 0, 0, 0, 0, 0, 0, u"A"_s, 1, 0, 0, 0, u"A"_s, 1.0, 1});
        TestBank incoming(u"incoming"_s);
        addQuestions(incoming, 5);
        db::run(incoming.db(), u"update ex_page_id set p_anwser='B' where p_id in ('P000001','P000003')"_s);
        const QString incomingFile = incoming.path(u"data/sys.htm"_s);

        QProcess update;
        startUpdate(update, local, {u"--merge"_s, incomingFile});
        QVERIFY(update.waitForFinished(60000));
        const QString out = QString::fromUtf8(update.readAllStandardOutput());
        QCOMPARE(update.exitCode(), 0);
        QVERIFY2(out.contains(u"题目增加:1  条\n"_s), qPrintable(out));
        QVERIFY2(out.contains(u"答案有修改的题目:2  题\n其中您做过的题目:1  题\n"_s), qPrintable(out));
        QCOMPARE(local.count(u"qm_changed"_s, u"what='key'"_s), 2);
    }

    void killedMergeIsAllOrNothing_data()
    {
        QTest::addColumn<QString>("moment");
        QTest::newRow("new bank just opened") << u"opened"_s;
        QTest::newRow("rows being written") << u"writing"_s;
    }
    void killedMergeIsAllOrNothing()
    {
        QFETCH(QString, moment);
        TestBank local;
        installPrograms(local);
        local.addCourse(u"M1"_s, u"旧名"_s);
        local.addChapter(u"C0"_s, u"旧章"_s, u"M1"_s);
        TestBank incoming(u"incoming"_s);
        addQuestions(incoming, 30000);
        incoming.addCase(u"C1"_s, u"CASE1"_s, 3);
        incoming.insert(u"ks_ad"_s, {u"常见问题"_s, u"http://help.test/a.htm"_s, 0});
        const QString incomingFile = incoming.path(u"data/sys.htm"_s);
        const QList<int> before{1, 1, 0, 0, 0, 0, 0, 0, 0};
        const QList<int> merged{1, 2, 30001, 3, 0, 0, 0, 0, 1};
        QCOMPARE(rowCounts(local), before);
        // An empty WAL: whatever appears in it comes from the update's writing.
        db::run(local.db(), u"PRAGMA wal_checkpoint(TRUNCATE)"_s);
        const QString wal = local.path(u"data/sys.htm-wal"_s);
        QCOMPARE(QFileInfo(wal).size(), 0);

        QProcess update;
        startUpdate(update, local, {u"--merge"_s, incomingFile});
        bool reached = false;
        // Writing: well past the WAL's header and first pages, so rows are being stored.
        while (!reached && !update.waitForFinished(1))
            reached = moment == u"opened" ? hasOpen(update.processId(), incomingFile)
                                          : QFileInfo(wal).size() > kWritingWalBytes;
        QVERIFY2(reached, "the update ended before the moment of the kill");
        update.kill();
        QVERIFY(update.waitForFinished());
        QCOMPARE(update.exitStatus(), QProcess::CrashExit);

        const QList<int> after = rowCounts(local);
        const QString course = db::scalar(local.db(), u"select m_name from ma_id where m_id='M1'"_s).toString();
        qInfo("killed: bank %s", after == before ? "as before" : after == merged ? "fully merged" : "part-way");
        QStringList shown;
        for (const int count : after)
            shown << QString::number(count);
        QVERIFY2(after == before || after == merged, qPrintable(u"row counts after the kill: "_s + shown.join(u' ')));
        QCOMPARE(course, after == before ? u"旧名"_s : u"会计基础"_s);

        QProcess again;
        startUpdate(again, local, {u"--merge"_s, incomingFile});
        QVERIFY(again.waitForFinished(120000));
        QVERIFY2(again.exitCode() == 0, again.readAllStandardError().constData());
        QCOMPARE(rowCounts(local), merged);
        QCOMPARE(db::scalar(local.db(), u"select m_name from ma_id where m_id='M1'"_s).toString(), u"会计基础"_s);
    }

    void online_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<int>("bankStatus");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<bool>("iniWritten");
        QTest::newRow("bank and a file") << QByteArray("2009-06-01\r\n\r\nsys.htm\r\njy\\c1.htm\r\n") << 200 << 0
                                         << u"题目增加:5  条"_s << QString() << true;
        QTest::newRow("only a file") << QByteArray("2009-06-01\r\n\r\njy\\c1.htm\r\n") << 200 << 0
                                     << u"当前有:1文件已更新,更新目标为data\\*\n本次更新完成...."_s << QString()
                                     << true;
        QTest::newRow("nothing newer") << QByteArray("2009-05-01\r\n\r\nsys.htm\r\n") << 200 << 0
                                       << u"网上记录比本机记录还早,无需进行更新...\n本次没有更新...."_s << QString()
                                       << false;
        QTest::newRow("bank missing") << QByteArray("2009-06-01\r\n\r\nsys.htm\r\n") << 404 << 1
                                      << u"本次更新失败...."_s << u"404"_s << false;
        QTest::newRow("entry outside data") << QByteArray("2009-06-01\r\n\r\nsys.htm\r\n..\\main.ini\r\n") << 200 << 1
                                            << u"本次更新失败...."_s << u"..\\main.ini"_s << false;
    }
    void online()
    {
        QFETCH(QByteArray, list);
        QFETCH(int, bankStatus);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(bool, iniWritten);
        TestBank local;
        installPrograms(local);
        local.writeFile(u"main.ini"_s, kMainIni);
        TestBank incoming(u"incoming"_s);
        addQuestions(incoming, 5);
        HttpServer server;
        server.route("/q/up.txt", 200, list);
        server.route("/q/sys.htm", bankStatus, bankStatus == 200 ? bankBytes(incoming) : QByteArray("gone"));
        server.route("/q/jy/c1.htm", 200, "<html>第一章讲义</html>");

        QProcess update;
        startUpdate(update, local, {u"--online"_s, server.base() + u"/q/"_s, u"2009-05-01"_s});
        // The server answers from this process's event loop.
        QTRY_VERIFY_WITH_TIMEOUT(update.state() == QProcess::NotRunning, 120000);
        const QString stdOut = QString::fromUtf8(update.readAllStandardOutput());
        const QString stdErr = QString::fromUtf8(update.readAllStandardError());
        QCOMPARE(update.exitCode(), exitCode);
        QVERIFY2(stdOut.contains(out), qPrintable(stdOut));
        QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.contains(err), qPrintable(stdErr));
        IniFile ini(local.path(u"main.ini"_s));
        QVERIFY(ini.load());
        QCOMPARE(ini.value(u"config"_s, u"update_before_time"_s), iniWritten ? u"2009-06-01"_s : u"2009-05-01"_s);
        QCOMPARE(ini.contains(u"config"_s, u"next_update_time"_s), iniWritten);
        if (iniWritten)
            QCOMPARE(fileBytes(local.path(u"data/jy/c1.htm"_s)), QByteArray("<html>第一章讲义</html>"));
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("err");
        QTest::newRow("not a bank") << QStringList{u"--merge"_s, u"main.ini"_s} << 1 << u"不是有效的题库文件"_s;
        QTest::newRow("missing file") << QStringList{u"--merge"_s, u"none.htm"_s} << 1 << u"不存在"_s;
        QTest::newRow("wrong arguments") << QStringList{u"--online"_s, u"http://127.0.0.1:1/"_s} << 2 << u"usage"_s;
    }
    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, err);
        TestBank local;
        installPrograms(local);
        local.writeFile(u"main.ini"_s, kMainIni);
        local.addCourse(u"M1"_s, u"旧名"_s);
        QProcess update;
        // A relative file name is taken from the working folder, the program folder.
        startUpdate(update, local, args);
        QVERIFY(update.waitForFinished(60000));
        QCOMPARE(update.exitCode(), exitCode);
        QVERIFY2(QString::fromUtf8(update.readAllStandardError()).contains(err), qPrintable(err));
        QCOMPARE(local.count(u"ma_id"_s), 1);
        QCOMPARE(fileBytes(local.path(u"main.ini"_s)), kMainIni);
    }
};

QTEST_GUILESS_MAIN(UpdateProgram)
#include "update_program.moc"
