#include "shell/ui/skin.h"

#include <QDir>
#include <QMovie>

using namespace Qt::StringLiterals;

namespace skin {

QPixmap picture(const QString &programDir, const QString &relative)
{
    return QPixmap(QDir(programDir).filePath(relative));
}

QMovie *waitAnimation(const QString &programDir, QObject *parent)
{
    auto *movie = new QMovie(QDir(programDir).filePath(u"mafy.a"_s), "gif", parent);
    movie->setCacheMode(QMovie::CacheAll);
    if (movie->isValid())
        movie->start();
    return movie;
}

} // namespace skin
