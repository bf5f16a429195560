// Pictures of the main window's frame: title bar, caption buttons, navigation bar, home panel and
// the splash background (also stretched into the information boxes and the updater's top strip).
#include "art.h"
#include "skin.h"

#include <QPainterPath>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTitleHeight = 33;
const QColor kTitleTop{0x2C, 0x73, 0xDB};
const QColor kTitleBottom{0x16, 0x55, 0xB5};

void titleFace(QPainter &p, int width)
{
    art::verticalGradient(p, QRectF(0, 0, width, kTitleHeight), kTitleTop, kTitleBottom);
    p.setPen(QColor(255, 255, 255, 40));
    p.drawLine(0, 0, width, 0);
}

// The product mark: a rounded square with a stylised quill over a ruled line.
void productMark(QPainter &p, const QRectF &r, const QColor &face, const QColor &ink)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(r, r.width() * 0.24, r.width() * 0.24);
    const qreal s = r.width();
    QPainterPath quill;
    quill.moveTo(r.left() + s * 0.26, r.top() + s * 0.76);
    quill.cubicTo(r.left() + s * 0.34, r.top() + s * 0.40, r.left() + s * 0.58, r.top() + s * 0.20,
                  r.left() + s * 0.80, r.top() + s * 0.18);
    quill.cubicTo(r.left() + s * 0.74, r.top() + s * 0.44, r.left() + s * 0.54, r.top() + s * 0.62,
                  r.left() + s * 0.26, r.top() + s * 0.76);
    p.setBrush(ink);
    p.drawPath(quill);
    p.setPen(art::stroke(ink, qMax<qreal>(1.2, s * 0.07)));
    p.drawLine(QPointF(r.left() + s * 0.22, r.top() + s * 0.84), QPointF(r.left() + s * 0.78, r.top() + s * 0.84));
    p.restore();
}

QImage titleBar()
{
    constexpr int w = 977;
    QImage image = art::canvas(w, kTitleHeight, Qt::white);
    QPainter p(&image);
    titleFace(p, w);
    productMark(p, QRectF(10, 6, 21, 21), Qt::white, kTitleBottom);
    art::drawText(p, QRectF(40, 0, 120, kTitleHeight), Qt::AlignVCenter | Qt::AlignLeft, u"Quillmark"_s,
                  art::font(16, QFont::DemiBold), Qt::white);
    p.setPen(QColor(255, 255, 255, 90));
    p.drawLine(132, 10, 132, 23);
    art::drawText(p, QRectF(142, 0, 400, kTitleHeight), Qt::AlignVCenter | Qt::AlignLeft,
                  u"会计从业资格无纸化考试训练系统"_s, art::font(13), QColor(255, 255, 255, 215));
    return image;
}

enum class Caption { Minimise, Maximise, Restore, Close };

QImage captionButton(Caption kind)
{
    QImage image = art::canvas(57, kTitleHeight, Qt::white);
    art::Painter p(&image);
    titleFace(p, 57);
    p.setPen(art::stroke(Qt::white, 1.6));
    p.setBrush(Qt::NoBrush);
    const QPointF c(28.5, 16.5);
    switch (kind) {
    case Caption::Minimise:
        p.drawLine(QPointF(c.x() - 6, c.y() + 4), QPointF(c.x() + 6, c.y() + 4));
        break;
    case Caption::Maximise:
        p.drawRect(QRectF(c.x() - 6, c.y() - 6, 12, 12));
        break;
    case Caption::Restore:
        p.drawRect(QRectF(c.x() - 6, c.y() - 3, 9, 9));
        p.drawPolyline(QPolygonF{{c.x() - 3, c.y() - 3}, {c.x() - 3, c.y() - 6}, {c.x() + 6, c.y() - 6},
                                 {c.x() + 6, c.y() + 3}, {c.x() + 3, c.y() + 3}});
        break;
    case Caption::Close:
        p.drawLine(QPointF(c.x() - 6, c.y() - 6), QPointF(c.x() + 6, c.y() + 6));
        p.drawLine(QPointF(c.x() + 6, c.y() - 6), QPointF(c.x() - 6, c.y() + 6));
        break;
    }
    return image;
}

// A deep blue face under white captions, a step darker than the title bar; its middle tone is the
// glyph backdrop.
QImage navigationBar()
{
    constexpr int w = 977;
    constexpr int h = 81;
    QImage image = art::gradientCanvas(w, h, QColor(0x1D, 0x54, 0xA3), QColor(0x12, 0x3B, 0x78));
    art::Painter p(&image);
    p.fillRect(QRectF(0, 0, w, 1), QColor(255, 255, 255, 45));
    art::horizontalGradient(p, QRectF(0, h - 2, w, 2), QColor(0x4F, 0xA3, 0xF0), art::colour::accent);
    // Quiet ledger curves on the free right side.
    for (int i = 0; i < 5; ++i) {
        QPainterPath wave;
        const qreal y = 18 + i * 10;
        wave.moveTo(760, y + 10);
        wave.cubicTo(820, y - 8, 880, y + 22, w, y);
        p.setPen(QPen(QColor(255, 255, 255, 18 + i * 5), 1.2));
        p.drawPath(wave);
    }
    return image;
}

QImage homeBackground()
{
    constexpr int w = 977;
    constexpr int h = 587;
    QImage image = art::gradientCanvas(w, h, QColor(0xF8, 0xFB, 0xFF), QColor(0xE6, 0xEF, 0xFA));
    art::Painter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1E, 0x6F, 0xD9, 14));
    p.drawEllipse(QPointF(-40, 520), 190, 190);
    p.drawEllipse(QPointF(1010, 60), 170, 170);
    p.setBrush(QColor(0x1E, 0x6F, 0xD9, 9));
    p.drawEllipse(QPointF(900, 610), 260, 150);
    // A short accent rule under the sub-headline (headline at 70..140, sub-headline at 150..186).
    art::horizontalGradient(p, QRectF(w / 2.0 - 70, 192, 140, 3), QColor(0x1E, 0x6F, 0xD9, 40),
                            QColor(0x1E, 0x6F, 0xD9, 200));
    // The card that carries the home-panel texts.
    const QRectF card(110, 215, 757, 335);
    art::softShadow(p, card, 12, 8, 26);
    art::roundedPanel(p, card, 12, QColor(255, 255, 255, 235), QColor(0xFB, 0xFD, 0xFF, 235), art::colour::line);
    art::horizontalGradient(p, QRectF(card.left() + 1, card.top() + 12, 4, card.height() - 24), art::colour::accent,
                            QColor(0x4F, 0xA3, 0xF0));
    return image;
}

QImage splash()
{
    constexpr int w = 454;
    constexpr int h = 245;
    QImage image = art::gradientCanvas(w, h, QColor(0xFF, 0xFF, 0xFF), QColor(0xE8, 0xF1, 0xFC));
    art::Painter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1E, 0x6F, 0xD9, 16));
    p.drawEllipse(QPointF(w - 20, 10), 120, 120);
    p.setBrush(QColor(0x1E, 0x6F, 0xD9, 10));
    p.drawEllipse(QPointF(w - 90, -30), 110, 110);
    for (int i = 0; i < 3; ++i) {
        QPainterPath wave;
        const qreal y = h - 78 + i * 9;
        wave.moveTo(0, y);
        wave.cubicTo(w * 0.3, y - 24, w * 0.6, y + 20, w, y - 12);
        p.setPen(QPen(QColor(0x1E, 0x6F, 0xD9, 30 + i * 12), 1.4));
        p.drawPath(wave);
    }
    p.fillRect(QRectF(0, h - 40, w, 40), QColor(0x1E, 0x6F, 0xD9, 18));
    p.fillRect(QRectF(0, h - 40, w, 1), QColor(0x1E, 0x6F, 0xD9, 60));
    return image;
}

} // namespace

namespace skin {

QList<SkinPicture> framePictures()
{
    return {
        {u"copy.bmp"_s, titleBar},
        {u"spm.bmp"_s, [] { return captionButton(Caption::Minimise); }},
        {u"spx.bmp"_s, [] { return captionButton(Caption::Maximise); }},
        {u"spx1.bmp"_s, [] { return captionButton(Caption::Restore); }},
        {u"spc.bmp"_s, [] { return captionButton(Caption::Close); }},
        {u"top.bmp"_s, navigationBar},
        {u"bg.bmp"_s, homeBackground},
        {u"bg11.bmp"_s, splash},
    };
}

} // namespace skin
