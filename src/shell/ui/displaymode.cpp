#include "shell/ui/displaymode.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QSize NullDisplayMode::current() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

QSize XrandrDisplayMode::current() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

bool XrandrDisplayMode::set(const QSize &size)
{
    const QString mode = u"%1x%2"_s.arg(size.width()).arg(size.height());
    return QProcess::execute(u"xrandr"_s, {u"-s"_s, mode}) == 0;
}

bool XrandrDisplayMode::available()
{
    return QGuiApplication::platformName() == u"xcb" && !QStandardPaths::findExecutable(u"xrandr"_s).isEmpty();
}
