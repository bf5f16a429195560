// The updater program: with "--merge" or "--online" it works without a window for scripts;
// otherwise it is the window started by exambank with the update address and the last update date.
#include "shell/apppaths.h"
#include "shell/ui/fonts.h"
#include "shell/ui/messages.h"
#include "update/commandline.h"
#include "update/ui/updatewindow.h"
#include "update/userfiles.h"

#include <QApplication>
#include <QFont>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    QStringList args;
    for (int k = 1; k < argc; ++k)
        args << QString::fromLocal8Bit(argv[k]);

    // Same layout rule as exambank; the learner's files are made ready by whichever starts first.
    const auto decide = [] {
        AppPaths::setCurrent(AppPaths::decide(QCoreApplication::applicationDirPath(), AppPaths::Program::Updater,
                                              AppPaths::UserFolders::fromEnvironment()));
        return update::prepareUserFiles(AppPaths::current());
    };

    if (update::isCommandLine(args)) {
        QCoreApplication app(argc, argv);
        QTextStream out(stdout), err(stderr);
        const update::UserFilesResult userFiles = decide();
        if (!userFiles.ok)
            err << userFiles.error << Qt::endl;
        return update::runCommandLine(args, AppPaths::current(), out, err);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(u"升级程序"_s);
    fonts::install();
    const update::UserFilesResult userFiles = decide();
    if (!userFiles.ok)
        messages::inform(nullptr, userFiles.error, u"错误信息"_s);
    const std::unique_ptr<UpdateWindow> window = UpdateWindow::create(args);
    if (!window)
        return 0;
    window->show();
    // Scripted runs: QM_UPDATE_AUTOSTART=1 presses "开始" as soon as the window is up.
    if (qEnvironmentVariableIsSet("QM_UPDATE_AUTOSTART")) {
        if (auto *start = window->findChild<QPushButton *>(u"Button1"_s))
            QTimer::singleShot(0, start, &QPushButton::click);
    }
    return QApplication::exec();
}
