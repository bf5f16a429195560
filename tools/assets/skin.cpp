#include "skin.h"

#include "art.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace skin {

QList<SkinPicture> all()
{
    QList<SkinPicture> out;
    out << framePictures() << navGlyphs() << panelPictures() << smallGlyphs() << modePictures() << slidePictures();
    return out;
}

bool writeAll(const QString &dir, QString *error)
{
    if (!QDir().mkpath(dir)) {
        *error = u"cannot create "_s + dir;
        return false;
    }
    for (const SkinPicture &picture : all()) {
        const QImage image = picture.draw();
        const QString path = QDir(dir).filePath(picture.name);
        const bool ok = picture.alpha ? art::saveBmpWithAlpha(image, path, picture.backdrop, error)
                                      : art::saveOpaque(image, path, error);
        if (!ok)
            return false;
    }
    return true;
}

} // namespace skin
