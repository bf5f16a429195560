#include "practice/ui/practicelauncher.h"

#include "practice/ui/practicewindow.h"
#include "records/ui/practiceresultpanel.h"
#include "shell/ui/mainwindow.h"

#include <QScreen>

using namespace Qt::StringLiterals;

PracticeWindow *openPracticeWindow(MainWindow *main, const practice::PracticeInputs &inputs)
{
    if (!PracticeWindow::closeCurrent())
        return nullptr;
    auto *window = new PracticeWindow(main->config().beepEnabled(), main);
    window->setInputs(inputs);
    PracticeWindow::setCurrent(window);
    QObject::connect(window, &PracticeWindow::finished, main, [main](const practice::PracticeResult &result) {
        QWidget *panel6 = main->panel(u"Panel6"_s);
        if (!panel6)
            return;
        if (auto *results = panel6->findChild<PracticeResultPanel *>())
            results->showResult(result);
        panel6->show();
        main->bringToFront(panel6);
    });
    // Without a window manager a maximise request is not honoured: fill the screen anyway.
    if (const QScreen *screen = main->screen())
        window->setGeometry(screen->availableGeometry());
    window->showMaximized();
    return window;
}
