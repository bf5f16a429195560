// Which layout a run uses, where each file is then, and the learner's files of an installed layout
// made ready from the shipped ones.
#include "content/contentlink.h"
#include "db/connection.h"
#include "db/sql.h"
#include "shell/apppaths.h"
#include "support/testbank.h"
#include "update/userfiles.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(AppPaths::Layout)
Q_DECLARE_METATYPE(AppPaths::Program)

namespace {

// Owner, group and others; Qt adds the current user's own bits beside them.
constexpr QFile::Permissions kModeBits = QFile::Permissions::fromInt(0x7077);

void touch(const QString &path, const QByteArray &bytes = "x")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A prefix as the install rules lay it out, with the user's XDG folders beside it.
struct Installation
{
    QTemporaryDir root;
    QString prefix() const { return root.path() + u"/usr"_s; }
    QString share() const { return prefix() + u"/share/quillmark"_s; }
    AppPaths::UserFolders user() const
    {
        return {root.path() + u"/home/cfg"_s, root.path() + u"/home/data"_s, root.path() + u"/home/cache"_s};
    }
    AppPaths paths() const { return AppPaths::installed(prefix(), user()); }
    Installation()
    {
        QDir().mkpath(prefix() + u"/bin"_s);
        QDir().mkpath(prefix() + u"/libexec/quillmark"_s);
        QDir().mkpath(share() + u"/data"_s);
    }
    // The seed: a small bank with one course, closed so that its file is complete.
    void shipSeed(const std::function<void(TestBank &)> &fill) const
    {
        TestBank seed(u"seed"_s);
        seed.addCourse(u"M1"_s, u"会计基础"_s);
        seed.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        fill(seed);
        db::closeBank(seed.connectionName());
        QFile::remove(share() + u"/data/sys.htm"_s);
        QVERIFY(QFile::copy(seed.path(u"data/sys.htm"_s), share() + u"/data/sys.htm"_s));
    }
};

int countRows(const QString &bankFile, const QString &sql)
{
    QString error;
    if (!db::openBank(bankFile, u"count"_s, &error))
        qFatal("cannot open %s: %s", qPrintable(bankFile), qPrintable(error));
    int n = -1;
    {
        QSqlQuery q = db::run(db::bank(u"count"_s), sql);
        if (q.next())
            n = q.value(0).toInt();
    }
    db::closeBank(u"count"_s);
    return n;
}

} // namespace

class AppPathsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void layoutRule_data()
    {
        QTest::addColumn<bool>("mainIni");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("share");
        QTest::addColumn<AppPaths::Layout>("layout");
        const auto P = AppPaths::Layout::Portable;
        const auto I = AppPaths::Layout::Installed;
        QTest::newRow("program folder") << true << true << false << P;
        QTest::newRow("program folder that looks installed") << true << true << true << P;
        QTest::newRow("installed, a user") << false << false << true << I;
        QTest::newRow("installed, root (may write anywhere)") << false << true << true << I;
        QTest::newRow("installed copy with a main.ini, a user") << true << false << true << I;
        QTest::newRow("read-only program folder elsewhere") << true << false << false << P;
        QTest::newRow("bare folder without main.ini") << false << true << false << P;
        QTest::newRow("read-only bare folder") << false << false << false << P;
    }
    void layoutRule()
    {
        QFETCH(bool, mainIni);
        QFETCH(bool, writable);
        QFETCH(bool, share);
        QFETCH(AppPaths::Layout, layout);
        QCOMPARE(AppPaths::choose(mainIni, writable, share), layout);
    }

    void decideOnRealFolders_data()
    {
        QTest::addColumn<QString>("exeDir");
        QTest::addColumn<AppPaths::Program>("program");
        QTest::addColumn<QString>("extraFile");
        QTest::addColumn<AppPaths::Layout>("layout");
        const auto P = AppPaths::Layout::Portable;
        const auto I = AppPaths::Layout::Installed;
        const auto T = AppPaths::Program::Trainer;
        const auto U = AppPaths::Program::Updater;
        QTest::newRow("exambank in bin") << u"usr/bin"_s << T << QString() << I;
        QTest::newRow("update in libexec") << u"usr/libexec/quillmark"_s << U << QString() << I;
        QTest::newRow("update in bin is no installation") << u"usr/bin"_s << U << QString() << P;
        QTest::newRow("exambank in libexec is no installation") << u"usr/libexec/quillmark"_s << T << QString() << P;
        QTest::newRow("writable bin with a main.ini") << u"usr/bin"_s << T << u"usr/bin/main.ini"_s << P;
        QTest::newRow("program folder") << u"app"_s << T << u"app/main.ini"_s << P;
        QTest::newRow("program folder without main.ini") << u"app"_s << U << QString() << P;
    }
    void decideOnRealFolders()
    {
        QFETCH(QString, exeDir);
        QFETCH(AppPaths::Program, program);
        QFETCH(QString, extraFile);
        QFETCH(AppPaths::Layout, layout);
        Installation inst;
        const QString dir = inst.root.path() + u'/' + exeDir;
        QDir().mkpath(dir);
        if (!extraFile.isEmpty())
            touch(inst.root.path() + u'/' + extraFile);
        const AppPaths paths = AppPaths::decide(dir, program, inst.user());
        QCOMPARE(paths.layout(), layout);
        if (layout == AppPaths::Layout::Installed) {
            QCOMPARE(paths.shareDir(), inst.share());
            QCOMPARE(paths.updaterProgram(), inst.prefix() + u"/libexec/quillmark/update"_s);
        } else {
            QCOMPARE(paths.mainIni(), dir + u"/main.ini"_s);
            QCOMPARE(paths.updaterProgram(), dir + u"/update"_s);
        }
    }

    // As a user, a program folder the user may not write (a copy on a read-only medium inside a
    // prefix with a share folder) counts as installed; root writes everywhere and keeps it portable.
    void readOnlyFolderWithMainIni()
    {
        Installation inst;
        touch(inst.prefix() + u"/bin/main.ini"_s);
        QFile::setPermissions(inst.prefix() + u"/bin"_s, QFile::ReadOwner | QFile::ExeOwner);
        const AppPaths paths = AppPaths::decide(inst.prefix() + u"/bin"_s, AppPaths::Program::Trainer, inst.user());
        QFile::setPermissions(inst.prefix() + u"/bin"_s, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(paths.layout(), ::geteuid() == 0 ? AppPaths::Layout::Portable : AppPaths::Layout::Installed);
    }

    void filesOfTheInstalledLayout()
    {
        Installation inst;
        const AppPaths paths = inst.paths();
        const QString home = inst.root.path() + u"/home"_s;
        QCOMPARE(paths.mainIni(), home + u"/cfg/quillmark/main.ini"_s);
        QCOMPARE(paths.bank(), home + u"/data/quillmark/data/sys.htm"_s);
        QCOMPARE(paths.downloadPath(u"up.txt"_s), home + u"/cache/quillmark/updates/up.txt"_s);
        QCOMPARE(db::bankPath(paths), paths.bank());

        // Shipped files from share/, unless an update has put the learner's own copy in data/.
        touch(inst.share() + u"/skin/bg11.bmp"_s);
        touch(inst.share() + u"/data/help.htm"_s, "shipped");
        QCOMPARE(paths.file(u"skin/bg11.bmp"_s), inst.share() + u"/skin/bg11.bmp"_s);
        QCOMPARE(content::dataFile(paths, u"help.htm"_s), inst.share() + u"/data/help.htm"_s);
        touch(home + u"/data/quillmark/data/help.htm"_s, "downloaded");
        QCOMPARE(paths.file(u"data/help.htm"_s), home + u"/data/quillmark/data/help.htm"_s);
        QCOMPARE(content::dataFile(paths, u"help.htm"_s), home + u"/data/quillmark/data/help.htm"_s);
        // A missing page names the learner's folder; nothing may climb out of data/.
        QCOMPARE(content::dataFile(paths, u"new.htm"_s), home + u"/data/quillmark/data/new.htm"_s);
        QVERIFY(content::dataFile(paths, u"../main.ini"_s).isEmpty());
        QVERIFY(content::dataFile(paths, u"..\\..\\quillmark\\main.ini"_s).isEmpty());
    }

    void userFoldersFromEnvironment_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("expected");
        QTest::newRow("set") << QByteArray("/xdg/cfg") << u"/xdg/cfg"_s;
        QTest::newRow("unset") << QByteArray() << u"/home/learner/.config"_s;
        QTest::newRow("relative is ignored") << QByteArray("cfg") << u"/home/learner/.config"_s;
    }
    void userFoldersFromEnvironment()
    {
        QFETCH(QByteArray, config);
        QFETCH(QString, expected);
        const QByteArray home = qgetenv("HOME");
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        const bool had = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("HOME", "/home/learner");
        if (config.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", config);
        const AppPaths::UserFolders user = AppPaths::UserFolders::fromEnvironment();
        qputenv("HOME", home);
        if (had)
            qputenv("XDG_CONFIG_HOME", saved);
        else
            qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(user.config, expected);
    }

    void firstStartCopiesTheShippedFiles()
    {
        Installation inst;
        inst.shipSeed([](TestBank &) {});
        touch(inst.share() + u"/main.ini"_s, "[config]\r\nauto_time=30\r\n");
        // The shipped files are read-only; the learner's copies must not be.
        for (const QString &f : {inst.share() + u"/main.ini"_s, inst.share() + u"/data/sys.htm"_s})
            QFile::setPermissions(f, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        const AppPaths paths = inst.paths();
        const update::UserFilesResult r = update::prepareUserFiles(paths);
        QVERIFY2(r.ok, qPrintable(r.error));
        QVERIFY(r.bankCopied);
        QVERIFY(!r.seedMerged);
        QCOMPARE(bytesOf(paths.mainIni()), QByteArray("[config]\r\nauto_time=30\r\n"));
        QCOMPARE(bytesOf(paths.bank()), bytesOf(inst.share() + u"/data/sys.htm"_s));
        for (const QString &f : {paths.mainIni(), paths.bank()})
            QCOMPARE(QFile::permissions(f) & kModeBits, QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(QFileInfo(paths.downloadsDir()).isDir());
        QVERIFY(!QFile::exists(paths.bank() + u".part"_s));

        // The next start with the same seed leaves everything alone, the learner's main.ini too.
        touch(paths.mainIni(), "[config]\r\nauto_time=45\r\n");
        const update::UserFilesResult again = update::prepareUserFiles(paths);
        QVERIFY(again.ok);
        QVERIFY(!again.bankCopied && !again.seedMerged);
        QCOMPARE(bytesOf(paths.mainIni()), QByteArray("[config]\r\nauto_time=45\r\n"));
    }

    void newerSeedIsMergedKeepingRecords()
    {
        Installation inst;
        inst.shipSeed([](TestBank &seed) { seed.addQuestion(u"C1"_s, u"P1"_s, 1, u"A"_s); });
        const AppPaths paths = inst.paths();
        QVERIFY(update::prepareUserFiles(paths).ok);
        {
            QString error;
            QVERIFY2(db::openBank(paths.bank(), u"learner"_s, &error), qPrintable(error));
            db::run(db::bank(u"learner"_s),
                    u"insert into page_total values ('S1','1','0','0','1','1分','章节练习',1)"_s);
            db::run(
                db::bank(u"learner"_s),
                u"insert into test_page (page_id, p_id, p_answer, p_do_yn, p_real_yn) values ('S1','P1','A',1,1)"_s);
            db::closeBank(u"learner"_s);
        }

        // A newer package ships a seed with one more question.
        inst.shipSeed([](TestBank &seed) {
            seed.addQuestion(u"C1"_s, u"P1"_s, 1, u"A"_s);
            seed.addQuestion(u"C1"_s, u"P2"_s, 1, u"B"_s);
        });
        // A package's files carry its build time, later than the one installed before.
        {
            QFile seed(inst.share() + u"/data/sys.htm"_s);
            QVERIFY(seed.open(QIODevice::ReadWrite));
            QVERIFY(seed.setFileTime(QDateTime::currentDateTime().addDays(1), QFileDevice::FileModificationTime));
        }
        const update::UserFilesResult r = update::prepareUserFiles(paths);
        QVERIFY2(r.ok, qPrintable(r.error));
        QVERIFY(r.seedMerged);
        QVERIFY(!r.mergeReport.isEmpty());
        QCOMPARE(countRows(paths.bank(), u"select count(*) from ex_page_id"_s), 2);
        QCOMPARE(countRows(paths.bank(), u"select count(*) from page_total where page_id='S1'"_s), 1);
        QCOMPARE(countRows(paths.bank(), u"select count(*) from test_page where page_id='S1'"_s), 1);

        // Taken once: the next start merges nothing.
        const update::UserFilesResult again = update::prepareUserFiles(paths);
        QVERIFY(again.ok && !again.seedMerged);
    }

    void damagedSeedLeavesTheBankAndIsTriedAgain()
    {
        Installation inst;
        inst.shipSeed([](TestBank &seed) { seed.addQuestion(u"C1"_s, u"P1"_s, 1, u"A"_s); });
        const AppPaths paths = inst.paths();
        QVERIFY(update::prepareUserFiles(paths).ok);
        const QByteArray before = bytesOf(paths.bank());
        const QByteArray stamp = bytesOf(update::seedStampPath(paths));

        QFile::remove(inst.share() + u"/data/sys.htm"_s);
        touch(inst.share() + u"/data/sys.htm"_s, "not a bank at all");
        const update::UserFilesResult r = update::prepareUserFiles(paths);
        QVERIFY(!r.ok);
        QVERIFY(r.error.contains(paths.bank()));
        QCOMPARE(bytesOf(paths.bank()), before);
        QCOMPARE(bytesOf(update::seedStampPath(paths)), stamp);
        QVERIFY(!update::prepareUserFiles(paths).ok); // still pending
    }

    void portableLayoutNeedsNothing()
    {
        QTemporaryDir dir;
        const update::UserFilesResult r = update::prepareUserFiles(AppPaths(dir.path()));
        QVERIFY(r.ok && !r.bankCopied && !r.seedMerged);
        QVERIFY(QDir(dir.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(AppPathsTest)
#include "app_paths.moc"
