// Backgrounds stretched behind panels, boxes and dialogs. They carry labels in the default dark
// text colour, so they stay light and keep their decoration to the edges.
#include "art.h"
#include "skin.h"

#include <QPainterPath>

using namespace Qt::StringLiterals;

namespace {

// Light vertical gradient; stretched into columns, strips and side panels of every shape.
QImage softColumn()
{
    return art::gradientCanvas(240, 480, QColor(0xF6, 0xF9, 0xFE), QColor(0xE3, 0xEC, 0xF8));
}

QImage optionArea()
{
    QImage image = art::gradientCanvas(640, 360, QColor(0xFF, 0xFF, 0xFF), QColor(0xF3, 0xF7, 0xFD));
    art::Painter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1E, 0x6F, 0xD9, 10));
    p.drawEllipse(QPointF(640, 360), 170, 120);
    return image;
}

QImage searchBox()
{
    QImage image = art::gradientCanvas(420, 160, QColor(0xFD, 0xFE, 0xFF), QColor(0xEA, 0xF2, 0xFC));
    art::Painter p(&image);
    p.setPen(art::stroke(QColor(0x1E, 0x6F, 0xD9, 28), 9));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(360, 92), 30, 30);
    p.drawLine(QPointF(382, 114), QPointF(405, 137));
    return image;
}

QImage popupStrip()
{
    QImage image = art::gradientCanvas(317, 32, QColor(0xFF, 0xFF, 0xFF), QColor(0xEC, 0xF2, 0xFA));
    QPainter p(&image);
    p.fillRect(QRectF(0, 0, 317, 1), art::colour::line);
    return image;
}

QImage popupContent()
{
    QImage image = art::gradientCanvas(311, 160, QColor(0xFF, 0xFE, 0xF8), QColor(0xF5, 0xF0, 0xDF));
    art::Painter p(&image);
    // A bell in the lower right corner, faint enough to keep the notice text readable.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xDB, 0x84, 0x20, 40));
    QPainterPath bell;
    bell.moveTo(250, 140);
    bell.lineTo(300, 140);
    bell.cubicTo(292, 132, 292, 122, 292, 110);
    bell.cubicTo(292, 92, 284, 82, 275, 82);
    bell.cubicTo(266, 82, 258, 92, 258, 110);
    bell.cubicTo(258, 122, 258, 132, 250, 140);
    p.drawPath(bell);
    p.drawEllipse(QPointF(275, 146), 6, 6);
    return image;
}

QImage chartTitle()
{
    QImage image = art::canvas(601, 41, Qt::white);
    art::Painter p(&image);
    art::horizontalGradient(p, QRectF(0, 0, 601, 41), QColor(0x1E, 0x6F, 0xD9), QColor(0x5C, 0xA8, 0xF2));
    p.setPen(art::stroke(Qt::white, 2));
    p.drawPolyline(QPolygonF{{14, 29}, {21, 22}, {27, 25}, {36, 13}});
    p.drawLine(QPointF(13, 31.5), QPointF(37, 31.5));
    art::drawText(p, QRectF(48, 0, 300, 41), Qt::AlignVCenter | Qt::AlignLeft, u"学习曲线"_s,
                  art::font(18, QFont::DemiBold), Qt::white);
    art::drawText(p, QRectF(132, 1, 300, 41), Qt::AlignVCenter | Qt::AlignLeft, u"Learning Curve"_s,
                  art::font(13), QColor(255, 255, 255, 190));
    art::drawText(p, QRectF(0, 0, 588, 41), Qt::AlignVCenter | Qt::AlignRight, u"得分 / 练习次数"_s,
                  art::font(12), QColor(255, 255, 255, 200));
    return image;
}

// Tiled behind the chart: cream with a faint grid.
QImage chartTile()
{
    QImage image = art::canvas(48, 48, QColor(0xFF, 0xFD, 0xF5));
    QPainter p(&image);
    p.setPen(QColor(0xEF, 0xE8, 0xD6));
    p.drawLine(0, 47, 47, 47);
    p.drawLine(47, 0, 47, 47);
    p.setPen(QColor(0xF6, 0xF1, 0xE4));
    p.drawLine(0, 23, 47, 23);
    p.drawLine(23, 0, 23, 47);
    return image;
}

QImage loginSettings()
{
    constexpr int w = 409;
    constexpr int h = 234;
    QImage image = art::gradientCanvas(w, h, QColor(0xFE, 0xFC, 0xF6), QColor(0xF3, 0xEE, 0xDD));
    art::Painter p(&image);
    art::horizontalGradient(p, QRectF(0, 0, w, 3), art::colour::accent, QColor(0x4F, 0xA3, 0xF0));
    // A padlock in the lower right corner.
    p.setPen(art::stroke(QColor(0x1E, 0x6F, 0xD9, 30), 7));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(345, 140, 34, 40), 0, 180 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1E, 0x6F, 0xD9, 30));
    p.drawRoundedRect(QRectF(336, 160, 52, 42), 6, 6);
    return image;
}

// The picture on the left of the login window: a person and a key on a blue column.
QImage loginPortrait()
{
    constexpr int w = 130;
    constexpr int h = 220;
    QImage image = art::gradientCanvas(w, h, QColor(0x3D, 0x86, 0xE6), art::colour::accentDark);
    art::Painter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xFF, 0xFF, 215));
    p.drawEllipse(QPointF(w / 2.0, 78), 22, 22);
    QPainterPath body;
    body.moveTo(w / 2.0 - 40, 150);
    body.cubicTo(w / 2.0 - 40, 112, w / 2.0 + 40, 112, w / 2.0 + 40, 150);
    body.closeSubpath();
    p.drawPath(body);
    // The key below.
    p.setPen(art::stroke(QColor(0xF5, 0xB0, 0x4E), 5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(44, 182), 10, 10);
    p.drawLine(QPointF(54, 182), QPointF(92, 182));
    p.drawLine(QPointF(84, 182), QPointF(84, 192));
    p.drawLine(QPointF(92, 182), QPointF(92, 190));
    return image;
}

} // namespace

namespace skin {

QList<SkinPicture> panelPictures()
{
    return {
        {u"bg16.bmp"_s, softColumn},   {u"bg15.bmp"_s, optionArea},    {u"bg18.bmp"_s, searchBox},
        {u"bg16-2.bmp"_s, popupStrip}, {u"pop.bmp"_s, popupContent},   {u"bg19.bmp"_s, chartTitle},
        {u"bg19-1.bmp"_s, chartTile},  {u"bg20.bmp"_s, loginSettings}, {u"user_lo.bmp"_s, loginPortrait},
    };
}

} // namespace skin
