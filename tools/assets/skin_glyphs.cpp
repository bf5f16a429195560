// The nine navigation glyphs: a coloured rounded tile with a white pictogram, on a transparent
// background that shows the navigation bar through.
#include "art.h"
#include "skin.h"

#include <QPainterPath>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSize = 48;
constexpr qreal kLine = 2.6;

using Pictogram = void (*)(QPainter &);

QImage tile(const QColor &top, const QColor &bottom, Pictogram draw)
{
    QImage image = art::canvas(kSize, kSize, Qt::transparent);
    art::Painter p(&image);
    const QRectF r(3, 2, 42, 42);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(bottom.red(), bottom.green(), bottom.blue(), 45));
    p.drawRoundedRect(r.translated(0, 2), 11, 11);
    art::roundedPanel(p, r, 11, top, bottom);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 10.5, 10.5);
    p.setPen(art::stroke(Qt::white, kLine));
    p.setBrush(Qt::NoBrush);
    draw(p);
    return image;
}

void userSettings(QPainter &p)
{
    p.drawEllipse(QPointF(20, 17), 5.5, 5.5);
    QPainterPath body;
    body.moveTo(10, 35);
    body.cubicTo(10, 27, 14, 25, 20, 25);
    body.cubicTo(23, 25, 25, 25.5, 27, 27);
    p.drawPath(body);
    const QPointF c(31.5, 31.5);
    for (int i = 0; i < 8; ++i) {
        const qreal a = qDegreesToRadians(i * 45.0);
        p.drawLine(c + QPointF(std::cos(a) * 5.2, std::sin(a) * 5.2), c + QPointF(std::cos(a) * 7.4, std::sin(a) * 7.4));
    }
    p.drawEllipse(c, 4.2, 4.2);
}

void demoScreen(QPainter &p)
{
    p.drawRoundedRect(QRectF(10.5, 11.5, 27, 19), 2.5, 2.5);
    p.drawLine(QPointF(24, 30.5), QPointF(24, 35));
    p.drawLine(QPointF(18, 35.5), QPointF(30, 35.5));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF{{21, 16.5}, {21, 25.5}, {28.5, 21}});
    p.restore();
}

void chapterBook(QPainter &p)
{
    QPainterPath book;
    book.moveTo(24, 15);
    book.cubicTo(20, 12.5, 15, 12.5, 10.5, 14);
    book.lineTo(10.5, 33);
    book.cubicTo(15, 31.5, 20, 31.5, 24, 34);
    book.cubicTo(28, 31.5, 33, 31.5, 37.5, 33);
    book.lineTo(37.5, 14);
    book.cubicTo(33, 12.5, 28, 12.5, 24, 15);
    book.lineTo(24, 34);
    p.drawPath(book);
    p.setPen(art::stroke(QColor(255, 255, 255, 190), 1.6));
    p.drawLine(QPointF(14, 19), QPointF(20.5, 18.5));
    p.drawLine(QPointF(14, 23.5), QPointF(20.5, 23));
    p.drawLine(QPointF(27.5, 18.5), QPointF(34, 19));
}

void examClipboard(QPainter &p)
{
    p.drawRoundedRect(QRectF(13.5, 12.5, 21, 25), 2.5, 2.5);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(19, 9.5, 10, 5), 1.5, 1.5);
    p.restore();
    p.setPen(art::stroke(Qt::white, 2.2));
    p.drawPolyline(QPolygonF{{17.5, 21}, {19.5, 23}, {23, 19}});
    p.drawLine(QPointF(25.5, 21.5), QPointF(30.5, 21.5));
    p.drawPolyline(QPolygonF{{17.5, 29}, {19.5, 31}, {23, 27}});
    p.drawLine(QPointF(25.5, 29.5), QPointF(30.5, 29.5));
}

void guideCompass(QPainter &p)
{
    p.drawEllipse(QPointF(24, 23), 12, 12);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF{{29.5, 17.5}, {26, 25}, {22, 21}});
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawPolygon(QPolygonF{{18.5, 28.5}, {22, 21}, {26, 25}});
    p.restore();
}

void handoutDocument(QPainter &p)
{
    QPainterPath doc;
    doc.moveTo(28, 10.5);
    doc.lineTo(15, 10.5);
    doc.quadTo(13, 10.5, 13, 12.5);
    doc.lineTo(13, 35.5);
    doc.quadTo(13, 37.5, 15, 37.5);
    doc.lineTo(33, 37.5);
    doc.quadTo(35, 37.5, 35, 35.5);
    doc.lineTo(35, 17.5);
    doc.closeSubpath();
    doc.moveTo(28, 10.5);
    doc.lineTo(28, 17.5);
    doc.lineTo(35, 17.5);
    p.drawPath(doc);
    p.setPen(art::stroke(Qt::white, 2.0));
    p.drawLine(QPointF(18, 23), QPointF(30, 23));
    p.drawLine(QPointF(18, 27.5), QPointF(30, 27.5));
    p.drawLine(QPointF(18, 32), QPointF(25, 32));
}

void questionBubbles(QPainter &p)
{
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(10.5, 11.5, 22, 16), 5, 5);
    p.drawPath(bubble);
    p.drawLine(QPointF(15, 27.5), QPointF(13.5, 32));
    p.drawLine(QPointF(13.5, 32), QPointF(19.5, 27.5));
    p.setPen(art::stroke(QColor(255, 255, 255, 190), 2.2));
    p.drawRoundedRect(QRectF(27, 20.5, 11.5, 12), 4, 4);
    p.drawLine(QPointF(34.5, 32.5), QPointF(36, 36));
    art::drawText(p, QRectF(10.5, 11, 22, 16), Qt::AlignCenter, u"?"_s, art::font(14, QFont::Bold), Qt::white);
}

void progressChart(QPainter &p)
{
    p.drawLine(QPointF(11, 36.5), QPointF(37, 36.5));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawRoundedRect(QRectF(13, 28, 5, 7), 1, 1);
    p.drawRoundedRect(QRectF(21.5, 23, 5, 12), 1, 1);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(30, 17, 5, 18), 1, 1);
    p.restore();
    p.drawPolyline(QPolygonF{{12, 22}, {20, 16}, {25, 19}, {33, 11}});
    p.drawPolyline(QPolygonF{{28.5, 11}, {33, 11}, {33, 15.5}});
}

void helpBuoy(QPainter &p)
{
    p.drawEllipse(QPointF(24, 24), 12.5, 12.5);
    p.drawEllipse(QPointF(24, 24), 5.5, 5.5);
    p.setPen(art::stroke(Qt::white, 3.2));
    for (int i = 0; i < 4; ++i) {
        const qreal a = qDegreesToRadians(45.0 + i * 90.0);
        p.drawLine(QPointF(24, 24) + QPointF(std::cos(a) * 6.5, std::sin(a) * 6.5),
                   QPointF(24, 24) + QPointF(std::cos(a) * 11.5, std::sin(a) * 11.5));
    }
}

SkinPicture glyph(const QString &name, const QColor &top, const QColor &bottom, Pictogram draw)
{
    return {name, [=] { return tile(top, bottom, draw); }, true, art::colour::navBar};
}

} // namespace

namespace skin {

QList<SkinPicture> navGlyphs()
{
    return {
        glyph(u"bg1.bmp"_s, QColor(0x5A, 0x8B, 0xF2), QColor(0x2F, 0x5F, 0xD0), userSettings),
        glyph(u"bg2.bmp"_s, QColor(0x3C, 0xBE, 0xD2), QColor(0x1C, 0x8F, 0xAE), demoScreen),
        glyph(u"bg3.bmp"_s, QColor(0x4A, 0x97, 0xFF), QColor(0x1E, 0x6A, 0xDB), chapterBook),
        glyph(u"bg4.bmp"_s, QColor(0x7A, 0x7C, 0xF8), QColor(0x4A, 0x4B, 0xD6), examClipboard),
        glyph(u"bg5.bmp"_s, QColor(0x32, 0xB8, 0x9C), QColor(0x1B, 0x8A, 0x72), guideCompass),
        glyph(u"bg6.bmp"_s, QColor(0xF5, 0xB0, 0x4E), QColor(0xDB, 0x84, 0x20), handoutDocument),
        glyph(u"bg7.bmp"_s, QColor(0x9B, 0x7C, 0xF2), QColor(0x6E, 0x4F, 0xD6), questionBubbles),
        glyph(u"bg8.bmp"_s, QColor(0x3F, 0xB9, 0x78), QColor(0x23, 0x8E, 0x56), progressChart),
        glyph(u"bg9.bmp"_s, QColor(0xF0, 0x7B, 0x85), QColor(0xD2, 0x4F, 0x5E), helpBuoy),
    };
}

} // namespace skin
