// The installed layout: cmake --install into a throw-away prefix made read-only, the installed
// programs run with HOME and the XDG folders in a throw-away home.
#include "db/connection.h"
#include "db/sql.h"
#include "support/testbank.h"
#include "update/incomingbank.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr auto kPrefix = "/usr";

// Every entry below root with its kind, mode and content hash.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QByteArray entry = QByteArray::number(int(info.permissions()), 16);
        if (info.isSymLink()) {
            entry += " link " + info.symLinkTarget().toUtf8();
        } else if (info.isFile()) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                qFatal("cannot read %s", qPrintable(path));
            QCryptographicHash hash(QCryptographicHash::Sha256);
            hash.addData(&f);
            entry += " file " + hash.result().toHex();
        } else {
            entry += " dir";
        }
        tree.insert(path.mid(root.size()), entry);
    }
    return tree;
}

void setWritable(const QString &root, bool writable)
{
    const QFile::Permissions write = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther | QFile::WriteUser;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QStringList paths{root};
    while (it.hasNext())
        paths << it.next();
    for (const QString &path : paths) {
        if (QFileInfo(path).isSymLink())
            continue;
        const QFile::Permissions p = QFile::permissions(path);
        QFile::setPermissions(path, writable ? (p | QFile::WriteOwner | QFile::WriteUser) : (p & ~write));
    }
}

// Opens the learner's bank as the programs do; the shipped one only read-only (as the updater reads a
// bank to merge), so that no journal appears in the installed tree.
int count(const QString &bankFile, const QString &sql, bool readOnly = false)
{
    QString error;
    const bool opened = readOnly ? update::openIncomingBank(bankFile, u"installed-check"_s, &error)
                                 : db::openBank(bankFile, u"installed-check"_s, &error);
    if (!opened)
        return -1;
    int n = -1;
    {
        QSqlQuery q = db::run(db::bank(u"installed-check"_s), sql);
        if (q.next())
            n = q.value(0).toInt();
    }
    db::closeBank(u"installed-check"_s);
    return n;
}

} // namespace

class InstalledLayout : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_dest; // DESTDIR
    QString m_home;
    QMap<QString, QByteArray> m_installed;

    QString installed(const QString &relative) const { return m_dest + QLatin1StringView(kPrefix) + u'/' + relative; }
    QString userData() const { return m_home + u"/data"_s; }
    QString userBank() const { return userData() + u"/quillmark/data/sys.htm"_s; }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, m_home);
        env.insert(u"XDG_CONFIG_HOME"_s, m_home + u"/config"_s);
        env.insert(u"XDG_DATA_HOME"_s, userData());
        env.insert(u"XDG_CACHE_HOME"_s, m_home + u"/cache"_s);
        env.insert(u"XDG_RUNTIME_DIR"_s, m_home + u"/run"_s);
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"QM_MESSAGE_LOG"_s, u"1"_s);
        return env;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        m_dest = m_work.path() + u"/root"_s;
        m_home = m_work.path() + u"/home"_s;
        QVERIFY(QDir().mkpath(m_home + u"/run"_s));
        QFile::setPermissions(m_home + u"/run"_s, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QProcess install;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DESTDIR"_s, m_dest);
        install.setProcessEnvironment(env);
        install.start(QStringLiteral(QM_CMAKE),
                      {u"--install"_s, QStringLiteral(QM_BUILD_DIR), u"--prefix"_s, QString::fromLatin1(kPrefix)});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());

        m_installed = snapshot(m_dest);
        setWritable(m_dest, false);
    }

    void cleanupTestCase() { setWritable(m_dest, true); }

    void layout_data()
    {
        QTest::addColumn<QString>("path");
        for (const char *p :
             {"bin/exambank", "libexec/quillmark/update", "share/quillmark/main.ini", "share/quillmark/data/sys.htm",
              "share/quillmark/data/help.htm", "share/quillmark/data/alert.wav", "share/quillmark/data/mpg/1.wmv",
              "share/quillmark/mafy.a", "share/quillmark/skin/bg11.bmp",
              "share/applications/org.quillmark.Quillmark.desktop",
              "share/metainfo/org.quillmark.Quillmark.metainfo.xml",
              "share/icons/hicolor/48x48/apps/org.quillmark.Quillmark.png",
              "share/icons/hicolor/256x256/apps/org.quillmark.Quillmark.png", "share/man/man1/exambank.1.gz",
              "share/man/man1/quillmark-update.1.gz"})
            QTest::newRow(p) << QString::fromLatin1(p);
    }
    void layout()
    {
        QFETCH(QString, path);
        QVERIFY2(QFileInfo(installed(path)).isFile(), qPrintable(path));
    }

    void nothingOfTheLearnersIsShippedAndNoUpdateInBin()
    {
        QVERIFY(!QFileInfo::exists(installed(u"bin/update"_s)));
        QVERIFY(!QFileInfo::exists(installed(u"bin/main.ini"_s)));
        QVERIFY(!QFileInfo::exists(installed(u"share/quillmark/updates"_s)));
        // The seed carries no answer records or results.
        QCOMPARE(count(installed(u"share/quillmark/data/sys.htm"_s), u"select count(*) from page_total"_s, true), 0);
        QVERIFY(count(installed(u"share/quillmark/data/sys.htm"_s), u"select count(*) from ex_page_id"_s, true) > 0);
    }

    void desktopEntryAndMetadataValidate_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("file");
        QTest::newRow("desktop entry") << u"desktop-file-validate"_s << QStringList()
                                       << u"share/applications/org.quillmark.Quillmark.desktop"_s;
        QTest::newRow("AppStream") << u"appstreamcli"_s << QStringList{u"validate"_s, u"--no-net"_s}
                                   << u"share/metainfo/org.quillmark.Quillmark.metainfo.xml"_s;
    }
    void desktopEntryAndMetadataValidate()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, args);
        QFETCH(QString, file);
        const QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty())
            QSKIP("the validator is not installed (./dev installs desktop-file-utils and appstream)");
        QProcess p;
        p.start(program, args << installed(file));
        QVERIFY(p.waitForFinished(60000));
        const QByteArray out = p.readAllStandardOutput() + p.readAllStandardError();
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, out.constData());
        // desktop-file-validate also reports hints on success; none is expected.
        QVERIFY2(tool != u"desktop-file-validate" || out.trimmed().isEmpty(), out.constData());
    }

    // The Debian package holds the installed layout under /usr; built only where dpkg-deb is.
    void debianPackage()
    {
        const QString dpkgDeb = QStandardPaths::findExecutable(u"dpkg-deb"_s);
        if (dpkgDeb.isEmpty() || QStandardPaths::findExecutable(u"dpkg-shlibdeps"_s).isEmpty())
            QSKIP("dpkg-deb or dpkg-shlibdeps (dpkg-dev) is not installed");
        const QString out = m_work.path() + u"/package"_s;
        QProcess cpack;
        cpack.start(QStringLiteral(QM_CPACK), {u"--config"_s, QStringLiteral(QM_BUILD_DIR) + u"/CPackConfig.cmake"_s,
                                               u"-B"_s, out, u"-D"_s, u"CPACK_DEBIAN_COMPRESSION_TYPE=gzip"_s});
        QVERIFY(cpack.waitForFinished(280000));
        QVERIFY2(cpack.exitCode() == 0, (cpack.readAllStandardOutput() + cpack.readAllStandardError()).constData());
        const QStringList debs = QDir(out).entryList({u"quillmark_*.deb"_s}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        const QString deb = out + u'/' + debs.first();

        QProcess list;
        list.start(dpkgDeb, {u"--contents"_s, deb});
        QVERIFY(list.waitForFinished(60000));
        QCOMPARE(list.exitCode(), 0);
        QStringList files;
        for (const QByteArray &line : list.readAllStandardOutput().split('\n')) {
            const qsizetype at = line.indexOf(" ./");
            if (at >= 0)
                files << QString::fromUtf8(line.mid(at + 2));
        }
        for (const QString &expected :
             {u"/usr/bin/exambank"_s, u"/usr/libexec/quillmark/update"_s, u"/usr/share/quillmark/data/sys.htm"_s,
              u"/usr/share/quillmark/main.ini"_s, u"/usr/share/quillmark/skin/bg11.bmp"_s,
              u"/usr/share/applications/org.quillmark.Quillmark.desktop"_s,
              u"/usr/share/metainfo/org.quillmark.Quillmark.metainfo.xml"_s,
              u"/usr/share/icons/hicolor/128x128/apps/org.quillmark.Quillmark.png"_s,
              u"/usr/share/man/man1/exambank.1.gz"_s})
            QVERIFY2(files.contains(expected), qPrintable(expected));
        QVERIFY(!files.contains(u"/usr/bin/update"_s));
        for (const QString &f : std::as_const(files))
            QVERIFY2(f.startsWith(u"/usr/"_s), qPrintable(f));

        // Dependencies come from the Qt libraries the programs link.
        QProcess field;
        field.start(dpkgDeb, {u"--field"_s, deb, u"Depends"_s});
        QVERIFY(field.waitForFinished(60000));
        const QString depends = QString::fromUtf8(field.readAllStandardOutput());
        for (const QString &lib : {u"libqt6core6"_s, u"libqt6widgets6"_s, u"libqt6sql6-sqlite"_s})
            QVERIFY2(depends.contains(lib), qPrintable(depends));
    }

    // The desktop entry's Exec runs the installed program; the learner's practice lands in his
    // own bank under XDG_DATA_HOME and the installed tree stays byte for byte as installed.
    void practiceLandsInTheLearnersBank()
    {
        QProcess exambank;
        QProcessEnvironment env = environment();
        env.insert(u"QM_CLICKS"_s, u"SpeedButton3 sKJJC_C1 sd1 close:ch_page"_s);
        exambank.setProcessEnvironment(env);
        exambank.setWorkingDirectory(m_home);
        exambank.start(installed(u"bin/exambank"_s), {});
        QVERIFY(exambank.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(
            QFileInfo::exists(userBank()) && count(userBank(), u"select count(*) from page_total"_s) == 1, 90000);
        exambank.terminate();
        QVERIFY(exambank.waitForFinished(20000));
        const QString log = QString::fromUtf8(exambank.readAllStandardError());
        QVERIFY2(log.contains(u"script: close ch_page"_s), qPrintable(log));
        QVERIFY(count(userBank(), u"select count(*) from test_page"_s) > 0);
        QVERIFY(QFileInfo(m_home + u"/config/quillmark/main.ini"_s).isFile());
        QVERIFY(QFileInfo(m_home + u"/cache/quillmark/updates"_s).isDir());

        setWritable(m_dest, true);
        const QMap<QString, QByteArray> after = snapshot(m_dest);
        setWritable(m_dest, false);
        QCOMPARE(after.keys(), m_installed.keys());
        QCOMPARE(after, m_installed);
    }

    void installedUpdaterMergesIntoTheLearnersBank()
    {
        QVERIFY(QFileInfo::exists(userBank())); // from the test before
        TestBank incoming(u"installed-incoming"_s);
        incoming.addCourse(u"ZZ9"_s, u"新课程"_s);
        db::closeBank(incoming.connectionName());

        QProcess update;
        update.setProcessEnvironment(environment());
        update.start(installed(u"libexec/quillmark/update"_s), {u"--merge"_s, incoming.path(u"data/sys.htm"_s)});
        QVERIFY(update.waitForFinished(60000));
        QVERIFY2(update.exitCode() == 0, update.readAllStandardError().constData());
        QCOMPARE(count(userBank(), u"select count(*) from ma_id where m_id='ZZ9'"_s), 1);
        QCOMPARE(count(userBank(), u"select count(*) from page_total"_s), 1);

        setWritable(m_dest, true);
        const QMap<QString, QByteArray> after = snapshot(m_dest);
        setWritable(m_dest, false);
        QCOMPARE(after, m_installed);
    }
};

QTEST_GUILESS_MAIN(InstalledLayout)
#include "installed_layout.moc"
