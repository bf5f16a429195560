#include "shell/ui/skin.h"

#include "shell/apppaths.h"

#include <QMovie>

using namespace Qt::StringLiterals;

namespace skin {

QPixmap picture(const QString &relative)
{
    return QPixmap(AppPaths::current().file(relative));
}

QMovie *waitAnimation(QObject *parent)
{
    auto *movie = new QMovie(AppPaths::current().file(u"mafy.a"_s), "gif", parent);
    movie->setCacheMode(QMovie::CacheAll);
    if (movie->isValid())
        movie->start();
    return movie;
}

} // namespace skin
