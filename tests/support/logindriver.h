#pragma once

#include "shell/ui/mainwindow.h"
#include "windows/ui/loginwindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

// Drives the modal start-up login of a main window from a test.
namespace logindriver {

// Runs f once the modal login window is up (inside its own event loop). The first show lets
// events run before it gets to the login, so this looks for the window until it is there.
inline void whenLoginShows(MainWindow *w, std::function<void(LoginWindow *)> f)
{
    auto *poll = new QTimer(w);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, w, [w, f, poll] {
        auto *login = w->findChild<LoginWindow *>();
        if (!login || !login->isVisible())
            return;
        poll->stop();
        f(login);
    });
    poll->start();
}

inline void typeLogin(LoginWindow *login, const QString &name, const QString &password)
{
    login->findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(name);
    login->findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(password);
    login->findChild<QPushButton *>(QStringLiteral("Button1"))->click();
}

} // namespace logindriver
