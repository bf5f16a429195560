// The assembled program folder holds every file the windows load: skin pictures at the sizes
// they are shown, the instructions slides with buttons under the hot spots, the wait clip, the
// beep, the demonstration videos, main.ini, the bank and the downloads folder.
#include "shell/appconfig.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMovie>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

QString appFile(const QString &relative)
{
    return QDir(QStringLiteral(QM_APP_DIR)).filePath(relative);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int luminance(const QColor &c)
{
    return (c.red() * 299 + c.green() * 587 + c.blue() * 114) / 1000;
}

} // namespace

class AppFolderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void skinPicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("alpha");
        const auto row = [](const QString &name, int w, int h, bool alpha) {
            QTest::newRow(qPrintable(name)) << name << QSize(w, h) << alpha;
        };
        // Main window frame, home panel and splash.
        row(u"copy.bmp"_s, 977, 33, false);
        for (const QString &name : {u"spm.bmp"_s, u"spx.bmp"_s, u"spx1.bmp"_s, u"spc.bmp"_s})
            row(name, 57, 33, false);
        row(u"top.bmp"_s, 977, 81, false);
        row(u"bg.bmp"_s, 977, 587, false);
        row(u"bg11.bmp"_s, 454, 245, false);
        for (int i = 1; i <= 9; ++i)
            row(u"bg%1.bmp"_s.arg(i), 48, 48, true);
        for (const QString &name : {u"reg.bmp"_s, u"reg1.bmp"_s, u"reg2.bmp"_s})
            row(name, 13, 13, true);
        // Panels, dialogs, chart and popup.
        row(u"bg15.bmp"_s, 640, 360, false);
        row(u"bg16.bmp"_s, 240, 480, false);
        row(u"bg16-2.bmp"_s, 317, 32, false);
        row(u"bg18.bmp"_s, 420, 160, false);
        row(u"bg19.bmp"_s, 601, 41, false);
        row(u"bg19-1.bmp"_s, 48, 48, false);
        row(u"bg20.bmp"_s, 409, 234, false);
        row(u"pop.bmp"_s, 311, 160, false);
        row(u"user_lo.bmp"_s, 130, 220, false);
        // Button glyphs.
        for (const QString &name : {u"001_31.bmp"_s, u"001_35.bmp"_s, u"001_45.bmp"_s, u"001_60.bmp"_s, u"a1.bmp"_s,
                                    u"a2.bmp"_s, u"b1.bmp"_s, u"b2.bmp"_s})
            row(name, 16, 16, true);
        for (const QString &name : {u"first.bmp"_s, u"off_first.bmp"_s, u"pirr.bmp"_s, u"off_pir.bmp"_s, u"next.bmp"_s,
                                    u"off_next.bmp"_s, u"last.bmp"_s, u"off_last.bmp"_s})
            row(name, 88, 28, true);
        for (const QString &name : {u"zoonout.bmp"_s, u"zoonin.bmp"_s, u"st01.bmp"_s})
            row(name, 28, 28, true);
        for (const QString &name : {u"a_1.bmp"_s, u"e_1.bmp"_s, u"n_1.bmp"_s, u"s_1.bmp"_s, u"e_2.bmp"_s, u"n_2.bmp"_s})
            row(name, 160, 40, true);
        // Exam instructions slides.
        for (const QString &name : {u"logon-1.jpg"_s, u"logon-2.jpg"_s, u"logon-3.jpg"_s, u"logon-3-1.jpg"_s,
                                    u"logon-3-2.jpg"_s, u"logon-3-3.jpg"_s, u"logon-4.jpg"_s, u"logon-5.jpg"_s})
            row(name, 982, 627, false);
    }

    void skinPicture()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QFETCH(bool, alpha);
        const QImage image(appFile(u"skin/"_s + name));
        QVERIFY2(!image.isNull(), qPrintable(name));
        QCOMPARE(image.size(), size);
        QCOMPARE(image.hasAlphaChannel(), alpha);
        if (alpha) {
            // Glyphs sit on a transparent background and show something in their middle.
            QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
            QVERIFY(image.pixelColor(size.width() / 2, size.height() / 2).alpha() > 0);
        }
    }

    void slideButtonUnderHotSpot_data()
    {
        QTest::addColumn<QString>("slide");
        QTest::addColumn<QRect>("spot");
        const QRect next2(632, 396, 68, 21);
        const QRect next3(630, 404, 71, 23);
        const QRect restart(733, 405, 69, 21);
        const QRect start(776, 576, 129, 41);
        QTest::newRow("2: next") << u"logon-2.jpg"_s << next2;
        for (const QString &third : {u"logon-3.jpg"_s, u"logon-3-1.jpg"_s, u"logon-3-2.jpg"_s, u"logon-3-3.jpg"_s}) {
            QTest::newRow(qPrintable(third + u": next"_s)) << third << next3;
            QTest::newRow(qPrintable(third + u": restart"_s)) << third << restart;
        }
        QTest::newRow("5: restart") << u"logon-5.jpg"_s << restart;
        QTest::newRow("5: start exam") << u"logon-5.jpg"_s << start;
    }

    // A drawn button fills the hot spot (dark face near its left edge) on a light slide around it.
    void slideButtonUnderHotSpot()
    {
        QFETCH(QString, slide);
        QFETCH(QRect, spot);
        const QImage image(appFile(u"skin/"_s + slide));
        QVERIFY(!image.isNull());
        const int y = spot.center().y();
        QVERIFY2(luminance(image.pixelColor(spot.left() + 4, y)) < 170, "no button face at the hot spot");
        QVERIFY2(luminance(image.pixelColor(spot.right() - 4, y)) < 170, "button narrower than the hot spot");
        QVERIFY2(luminance(image.pixelColor(spot.center().x(), spot.top() - 8)) > 200, "no light slide above");
        QVERIFY2(luminance(image.pixelColor(spot.left() - 10, y)) > 200, "no light slide beside");
    }

    void waitClipLoopsAsGif()
    {
        QMovie clip(appFile(u"mafy.a"_s), "gif");
        QVERIFY(clip.isValid());
        QVERIFY(clip.frameCount() > 1);
        QVERIFY(clip.jumpToFrame(0));
        QCOMPARE(clip.currentImage().size(), QSize(16, 16));
        QCOMPARE(clip.currentImage().pixelColor(0, 0).alpha(), 0);
        QCOMPARE(clip.loopCount(), -1); // endless
    }

    void alertIsPcmWave()
    {
        const QByteArray wav = readAll(appFile(u"data/alert.wav"_s));
        QVERIFY(wav.size() > 44);
        QCOMPARE(wav.left(4), QByteArray("RIFF"));
        QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
        QCOMPARE(qFromLittleEndian<quint16>(wav.constData() + 20), quint16(1)); // PCM
        const quint32 rate = qFromLittleEndian<quint32>(wav.constData() + 24);
        const quint32 bytesPerSecond = qFromLittleEndian<quint32>(wav.constData() + 28);
        QCOMPARE(wav.mid(36, 4), QByteArray("data"));
        const quint32 dataSize = qFromLittleEndian<quint32>(wav.constData() + 40);
        QCOMPARE(qsizetype(dataSize) + 44, wav.size());
        QVERIFY(rate >= 8000);
        const double seconds = double(dataSize) / bytesPerSecond;
        QVERIFY(seconds > 0.05 && seconds < 1.0);
    }

    void demonstrationVideos_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("install") << u"data/mpg/1.wmv"_s;
        QTest::newRow("use") << u"data/mpg/3.wmv"_s;
    }

    void demonstrationVideos()
    {
        QFETCH(QString, path);
        const QByteArray head = readAll(appFile(path)).left(16);
        QCOMPARE(head.toHex(), QByteArray("3026b2758e66cf11a6d900aa0062ce6c")); // ASF header object
        const QString ffprobe = QStandardPaths::findExecutable(u"ffprobe"_s);
        if (ffprobe.isEmpty())
            QSKIP("ffprobe is not installed");
        QProcess probe;
        probe.start(ffprobe, {u"-v"_s, u"error"_s, u"-show_entries"_s, u"stream=codec_name:format=duration"_s, u"-of"_s,
                              u"default=noprint_wrappers=1"_s, appFile(path)});
        QVERIFY(probe.waitForFinished(30000));
        const QString out = QString::fromUtf8(probe.readAllStandardOutput());
        QVERIFY2(out.contains(u"codec_name=wmv2"_s), qPrintable(out));
        const QString duration = out.section(u"duration="_s, 1).section(u'\n', 0, 0);
        QVERIFY2(duration.toDouble() >= 5, qPrintable(out));
    }

    void mainIniBankAndUpdateFolder()
    {
        QStringList errors;
        const AppConfig config = AppConfig::load(QStringLiteral(QM_APP_DIR), QDate::currentDate(), &errors);
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
        const QString ini = QString::fromUtf8(readAll(appFile(u"main.ini"_s)));
        for (const ConfigKey &k : configKeys()) {
            if (k.fallback)
                QVERIFY2(ini.contains(u"\n"_s + QString::fromUtf16(k.key) + u'='), qPrintable(QString::fromUtf16(k.key)));
        }
        QVERIFY(QFile::exists(appFile(u"data/sys.htm"_s)));
        // The downloads folder is updates/: the updater program itself is called update.
        QVERIFY(QFileInfo(appFile(u"updates"_s)).isDir());
        QVERIFY(QFileInfo(appFile(u"update"_s)).isExecutable());
    }
};

QTEST_MAIN(AppFolderTest)
#include "appfolder_files.moc"
