// exambank: the question-bank trainer.
#include "shell/apppaths.h"
#include "shell/singleinstance.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/fonts.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "shell/ui/scriptedclicks.h"
#include "shell/ui/splash.h"
#include "update/userfiles.h"

#include <QApplication>

#include <cstdio>
#include <memory>
#include <unistd.h>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        // Chromium refuses to run its sandbox as root.
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        std::fprintf(stderr, "exambank: running as root, the web view's sandbox is switched off\n");
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"exambank"_s);
    fonts::install();

    SingleInstance instance(u"rain forest ex8n@hbjb7hkj99 "_s);
    if (!instance.acquire()) {
        messages::inform(nullptr, u"本程序已在运行中！"_s, QString());
        return 0;
    }

    AppPaths::setCurrent(AppPaths::decide(QCoreApplication::applicationDirPath(), AppPaths::Program::Trainer,
                                          AppPaths::UserFolders::fromEnvironment()));
    auto splash = std::make_unique<Splash>(MainWindow::titleText());
    splash->show();
    splash->setStatus(u"请稍等,程序正在构建环境需求...."_s);
    const update::UserFilesResult userFiles = update::prepareUserFiles(AppPaths::current());
    if (!userFiles.ok)
        messages::inform(splash.get(), userFiles.error, u"错误信息"_s);

    std::unique_ptr<DisplayMode> display;
    if (XrandrDisplayMode::available())
        display = std::make_unique<XrandrDisplayMode>();
    else
        display = std::make_unique<NullDisplayMode>();

    MainWindow window(display.get());
    splash->setStatus(u"请稍等,正在初始化数据及调整屏幕尺寸...."_s);
    window.show();
    splash->hide();
    if (!window.firstShow())
        return window.exitCode();
    splash.reset();
    ScriptedClicks::startFromEnvironment(&app);
    return app.exec();
}
