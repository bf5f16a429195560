#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>

#include <functional>

// Every picture under skin/: its file name, how it is drawn and how it is written. Pictures with
// alpha are glyphs shown on top of other pictures; their transparent pixels carry `backdrop`.
struct SkinPicture
{
    QString name;
    std::function<QImage()> draw;
    bool alpha = false;
    QColor backdrop = Qt::white;
};

namespace skin {

QList<SkinPicture> framePictures();   // title bar, caption buttons, navigation bar, home, splash
QList<SkinPicture> navGlyphs();       // bg1.bmp .. bg9.bmp
QList<SkinPicture> panelPictures();   // backgrounds of panels, boxes, dialogs and the popup
QList<SkinPicture> smallGlyphs();     // list-button glyphs, node icons, editor and exam buttons
QList<SkinPicture> modePictures();    // review-mode badges
QList<SkinPicture> slidePictures();   // exam instructions slides

QList<SkinPicture> all();

// Writes every picture into dir; false with a reason on the first failure.
bool writeAll(const QString &dir, QString *error);

} // namespace skin
