// qm_assets: builds the data files of the program folder from the sources under data/.
//   qm_assets skin  OUT_DIR          every picture under skin/
//   qm_assets media OUT_DIR          data/alert.wav, data/mpg/*.wmv and mafy.a (needs ffmpeg)
//   qm_assets bank  SRC_DIR OUT_FILE the demo question bank from SRC_DIR/*.json
//   qm_assets ini   OUT_FILE         main.ini with every key at its default (an existing one is kept)
//   qm_assets icons OUT_DIR          the application icon in every size under OUT_DIR/hicolor/
#include "demobank.h"
#include "icon.h"
#include "mainini.h"
#include "media.h"
#include "skin.h"

#include <QDateTime>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

// main.ini changes as the programs run (update dates, login setting): an existing one is kept and
// only marked as up to date.
bool keepOrWriteMainIni(const QString &path, QString *error)
{
    QFile existing(path);
    if (!existing.exists())
        return mainini::write(path, error);
    if (!existing.open(QIODevice::ReadWrite) ||
        !existing.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime)) {
        *error = existing.errorString();
        return false;
    }
    return true;
}

int usage()
{
    QTextStream(stderr)
        << "usage: qm_assets skin OUT_DIR | media OUT_DIR | bank SRC_DIR OUT_FILE | ini OUT_FILE | icons OUT_DIR\n";
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing text needs a GUI application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Build machines often have no runtime folder; Qt only needs a private one.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();

    const QString command = args.first();
    QString error;
    bool ok = false;
    if (command == u"skin" && args.size() == 2)
        ok = skin::writeAll(args[1], &error);
    else if (command == u"media" && args.size() == 2)
        ok = media::writeAll(args[1], &error);
    else if (command == u"bank" && args.size() == 3)
        ok = demobank::build(args[1], args[2], &error);
    else if (command == u"ini" && args.size() == 2)
        ok = keepOrWriteMainIni(args[1], &error);
    else if (command == u"icons" && args.size() == 2)
        ok = icon::writeAll(args[1], &error);
    else
        return usage();

    if (!ok) {
        QTextStream(stderr) << "qm_assets " << command << ": " << error << '\n';
        return 1;
    }
    return 0;
}
