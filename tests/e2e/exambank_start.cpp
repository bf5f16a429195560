#include "db/connection.h"
#include "support/testbank.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

// The real exambank program started in a throw-away program folder.
class ExambankStart : public QObject
{
    Q_OBJECT

    QTemporaryDir m_runtime; // the lock file lives here, away from any other running copy

    std::unique_ptr<QProcess> start(const QString &dir)
    {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"QM_MESSAGE_LOG"_s, u"1"_s);
        env.insert(u"XDG_RUNTIME_DIR"_s, m_runtime.path());
        p->setProcessEnvironment(env);
        p->setWorkingDirectory(dir);
        p->start(dir + u"/exambank"_s, {});
        return p;
    }

    static void install(const TestBank &bank)
    {
        db::closeBank(bank.connectionName());
        QVERIFY(QFile::copy(QStringLiteral(QM_APP_DIR) + u"/exambank"_s, bank.path(u"exambank"_s)));
    }

private Q_SLOTS:
    void secondCopyRefusedAndCrashedCopyDoesNotBlock()
    {
        TestBank bank(u"e2e"_s);
        install(bank);
        auto first = start(bank.dir());
        QVERIFY(first->waitForStarted());

        QTRY_VERIFY_WITH_TIMEOUT(first->state() == QProcess::Running && !QDir(m_runtime.path()).entryList({u"*.lock"_s}, QDir::Files | QDir::Hidden).isEmpty(), 20000);

        auto second = start(bank.dir());
        QVERIFY(second->waitForFinished(30000));
        QCOMPARE(second->exitCode(), 0);
        QVERIFY(QString::fromUtf8(second->readAllStandardError()).contains(u"本程序已在运行中！"_s));
        QCOMPARE(first->state(), QProcess::Running);

        // A copy that dies without cleaning up must not block the next start.
        ::kill(pid_t(first->processId()), SIGKILL);
        QVERIFY(first->waitForFinished(10000));
        auto third = start(bank.dir());
        QVERIFY(third->waitForStarted());
        QVERIFY(!third->waitForFinished(4000)); // still running: it took over
        third->kill();
        third->waitForFinished();
    }

    void missingBankEndsWithMessageAndFreesTheLock()
    {
        TestBank bank(u"e2e-nobank"_s);
        install(bank);
        QVERIFY(QFile::rename(bank.path(u"data/sys.htm"_s), bank.path(u"data/sys.bak"_s)));
        auto first = start(bank.dir());
        QVERIFY(first->waitForFinished(30000));
        QCOMPARE(first->exitCode(), 1);
        QVERIFY(QString::fromUtf8(first->readAllStandardError())
                    .contains(u"[错误警告提示]: 连接题库严重出错,请重新启动计算机再次尝试本程序......"_s));

        QVERIFY(QFile::rename(bank.path(u"data/sys.bak"_s), bank.path(u"data/sys.htm"_s)));
        auto next = start(bank.dir());
        QVERIFY(next->waitForStarted());
        QVERIFY(!next->waitForFinished(4000));
        next->kill();
        next->waitForFinished();
    }
};

QTEST_GUILESS_MAIN(ExambankStart)
#include "exambank_start.moc"
