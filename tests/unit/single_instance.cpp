#include "shell/singleinstance.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class SingleInstanceTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void secondCopyRefusedUntilFirstEnds()
    {
        QTemporaryDir dir;
        const QString name = u"rain forest ex8n@hbjb7hkj99 "_s;
        auto first = std::make_unique<SingleInstance>(name, dir.path());
        QVERIFY(first->acquire());
        {
            SingleInstance second(name, dir.path());
            QVERIFY(!second.acquire());
        }
        SingleInstance other(u"another program"_s, dir.path());
        QVERIFY(other.acquire());
        first.reset();
        SingleInstance third(name, dir.path());
        QVERIFY(third.acquire());
    }

    void lockOfACrashedCopyIsStale()
    {
        QTemporaryDir dir;
        const QString name = u"rain forest ex8n@hbjb7hkj99 "_s;
        const QString path = SingleInstance(name, dir.path()).lockPath();
        // A lock file as a copy that died leaves it: the pid of a process that has ended.
        QProcess gone;
        gone.start(u"sleep"_s, {u"30"_s});
        QVERIFY(gone.waitForStarted());
        const qint64 deadPid = gone.processId();
        gone.kill();
        QVERIFY(gone.waitForFinished());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::number(deadPid) + "\nexambank\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        f.close();
        SingleInstance next(name, dir.path());
        QVERIFY(next.acquire());
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "single_instance.moc"
