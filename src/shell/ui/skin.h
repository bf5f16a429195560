#pragma once

#include <QPixmap>
#include <QString>

class QMovie;
class QObject;

// Pictures and the wait animation, found through AppPaths::current(). A missing or unreadable file gives an
// empty picture, never an error: the windows still work without their skin.
namespace skin {

QPixmap picture(const QString &relative);
// The looping animation mafy.a (an animated GIF under that name), started.
QMovie *waitAnimation(QObject *parent);

} // namespace skin
