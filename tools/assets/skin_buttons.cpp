// Small glyphs (list buttons, node icons, entry-line add/delete), the exam window's navigation and
// tool buttons, and the review-mode badges.
#include "art.h"
#include "skin.h"

#include <QPainterPath>

using namespace Qt::StringLiterals;

namespace {

QImage glyphCanvas(int size)
{
    return art::canvas(size, size, Qt::transparent);
}

QImage chapterGlyph()
{
    QImage image = glyphCanvas(16);
    art::Painter p(&image);
    art::roundedPanel(p, QRectF(2.5, 1.5, 11, 13), 1.5, QColor(0x4A, 0x97, 0xFF), QColor(0x1E, 0x6A, 0xDB));
    p.setPen(art::stroke(Qt::white, 1.2));
    p.drawLine(QPointF(5, 5), QPointF(11, 5));
    p.drawLine(QPointF(5, 8), QPointF(11, 8));
    p.drawLine(QPointF(5, 11), QPointF(9, 11));
    return image;
}

QImage paperGlyph()
{
    QImage image = glyphCanvas(16);
    art::Painter p(&image);
    art::roundedPanel(p, QRectF(1.5, 1.5, 11, 13), 1.5, QColor(0x7A, 0x7C, 0xF8), QColor(0x4A, 0x4B, 0xD6));
    p.setPen(art::stroke(Qt::white, 1.3));
    p.drawPolyline(QPolygonF{{4, 6}, {5.5, 7.5}, {8.5, 4.5}});
    p.drawLine(QPointF(4, 11), QPointF(9, 11));
    p.setPen(art::stroke(art::colour::orange, 2.2));
    p.drawLine(QPointF(10.5, 13.5), QPointF(14.5, 8.5));
    return image;
}

QImage handoutGlyph()
{
    QImage image = glyphCanvas(16);
    art::Painter p(&image);
    art::roundedPanel(p, QRectF(2.5, 1.5, 11, 13), 1.5, QColor(0xF5, 0xB0, 0x4E), QColor(0xDB, 0x84, 0x20));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF{{8, 1.5}, {11, 1.5}, {11, 7}, {9.5, 5.8}, {8, 7}});
    p.setPen(art::stroke(Qt::white, 1.2));
    p.drawLine(QPointF(5, 10), QPointF(11, 10));
    p.drawLine(QPointF(5, 12.5), QPointF(9, 12.5));
    return image;
}

QImage helpGlyph()
{
    QImage image = glyphCanvas(16);
    art::Painter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(art::colour::accent);
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF{{6.5, 4.5}, {11, 8}, {6.5, 11.5}});
    return image;
}

enum class Node { Download, Folder, Play };

QImage nodeIcon(Node kind)
{
    QImage image = glyphCanvas(13);
    art::Painter p(&image);
    p.setPen(Qt::NoPen);
    switch (kind) {
    case Node::Download:
        p.setBrush(art::colour::accent);
        p.drawEllipse(QRectF(0.5, 0.5, 12, 12));
        p.setPen(art::stroke(Qt::white, 1.4));
        p.drawLine(QPointF(6.5, 3), QPointF(6.5, 8.5));
        p.drawPolyline(QPolygonF{{4, 6.5}, {6.5, 9}, {9, 6.5}});
        break;
    case Node::Folder:
        p.setBrush(art::colour::orange);
        p.drawRoundedRect(QRectF(0.5, 3, 12, 8.5), 1.5, 1.5);
        p.drawRoundedRect(QRectF(0.5, 1.5, 5.5, 3), 1, 1);
        break;
    case Node::Play:
        p.setBrush(art::colour::green);
        p.drawEllipse(QRectF(0.5, 0.5, 12, 12));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF{{5, 3.5}, {5, 9.5}, {9.5, 6.5}});
        break;
    }
    return image;
}

// Add (+) and delete (-) of an entry line; family a is blue, family b teal.
QImage lineButton(const QColor &top, const QColor &bottom, bool add)
{
    QImage image = glyphCanvas(16);
    art::Painter p(&image);
    p.setPen(QPen(bottom.darker(115), 1));
    QLinearGradient g(0, 1, 0, 15);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setBrush(g);
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setPen(art::stroke(Qt::white, 1.8));
    p.drawLine(QPointF(4.8, 8), QPointF(11.2, 8));
    if (add)
        p.drawLine(QPointF(8, 4.8), QPointF(8, 11.2));
    return image;
}

enum class Nav { First, Previous, Next, Last };

// A navigation button of the exam window: arrow and caption; the "off" form is greyed out.
QImage navButton(Nav kind, bool enabled)
{
    constexpr int w = 88;
    constexpr int h = 28;
    QImage image = art::canvas(w, h, Qt::transparent);
    art::Painter p(&image);
    const QColor face = enabled ? art::colour::accent : QColor(0xDD, 0xE3, 0xEA);
    const QColor ink = enabled ? QColor(Qt::white) : QColor(0x9A, 0xA5, 0xB4);
    const QRectF r(0.5, 0.5, w - 1, h - 2);
    art::roundedPanel(p, r, 5, face.lighter(118), face, face.darker(118));
    const bool arrowLeft = kind == Nav::First || kind == Nav::Previous;
    const qreal ax = arrowLeft ? 14 : w - 14;
    const qreal dir = arrowLeft ? -1 : 1;
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(QPolygonF{{ax + dir * 4, 13.5}, {ax - dir * 3, 8.5}, {ax - dir * 3, 18.5}});
    if (kind == Nav::First || kind == Nav::Last)
        p.drawRect(QRectF(ax + dir * 4 - (arrowLeft ? 1.8 : 0), 8.5, 1.8, 10));
    static const QString captions[] = {u"第一题"_s, u"上一题"_s, u"下一题"_s, u"最后一题"_s};
    const QRectF text = arrowLeft ? QRectF(22, 0, w - 26, h - 1) : QRectF(4, 0, w - 26, h - 1);
    art::drawText(p, text, Qt::AlignCenter, captions[int(kind)], art::font(13, QFont::Medium), ink);
    return image;
}

enum class Tool { Larger, Smaller, Info };

QImage toolButton(Tool kind)
{
    QImage image = glyphCanvas(28);
    art::Painter p(&image);
    art::roundedPanel(p, QRectF(0.5, 0.5, 27, 27), 6, QColor(0xFF, 0xFF, 0xFF), QColor(0xE6, 0xEE, 0xF9),
                      art::colour::line);
    p.setPen(art::stroke(art::colour::accent, 2));
    p.setBrush(Qt::NoBrush);
    if (kind == Tool::Info) {
        p.drawEllipse(QPointF(14, 14), 8.5, 8.5);
        p.drawLine(QPointF(14, 12.5), QPointF(14, 18.5));
        p.setPen(Qt::NoPen);
        p.setBrush(art::colour::accent);
        p.drawEllipse(QPointF(14, 9.3), 1.4, 1.4);
        return image;
    }
    p.drawEllipse(QPointF(12, 12), 6.5, 6.5);
    p.drawLine(QPointF(16.8, 16.8), QPointF(22, 22));
    p.setPen(art::stroke(art::colour::accent, 1.6));
    p.drawLine(QPointF(9, 12), QPointF(15, 12));
    if (kind == Tool::Larger)
        p.drawLine(QPointF(12, 9), QPointF(12, 15));
    return image;
}

// A review-mode badge: coloured pill, symbol and caption.
QImage badge(const QString &caption, const QColor &colour, QChar symbol)
{
    constexpr int w = 160;
    constexpr int h = 40;
    QImage image = art::canvas(w, h, Qt::transparent);
    art::Painter p(&image);
    const QRectF r(1.5, 3.5, w - 3, h - 7);
    art::roundedPanel(p, r, r.height() / 2, colour.lighter(112), colour, colour.darker(120));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(21, h / 2.0), 11, 11);
    art::drawText(p, QRectF(10, 0, 22, h), Qt::AlignCenter, QString(symbol), art::font(15, QFont::Bold), colour);
    art::drawText(p, QRectF(36, 0, w - 44, h), Qt::AlignCenter, caption, art::font(16, QFont::DemiBold), Qt::white);
    return image;
}

SkinPicture withAlpha(const QString &name, std::function<QImage()> draw, const QColor &backdrop)
{
    return {name, std::move(draw), true, backdrop};
}

} // namespace

namespace skin {

QList<SkinPicture> smallGlyphs()
{
    const QColor list = QColor(0xEE, 0xF3, 0xFA);
    const QColor white = Qt::white;
    return {
        withAlpha(u"001_35.bmp"_s, chapterGlyph, list),
        withAlpha(u"001_45.bmp"_s, paperGlyph, list),
        withAlpha(u"001_60.bmp"_s, handoutGlyph, list),
        withAlpha(u"001_31.bmp"_s, helpGlyph, list),
        withAlpha(u"reg.bmp"_s, [] { return nodeIcon(Node::Download); }, white),
        withAlpha(u"reg1.bmp"_s, [] { return nodeIcon(Node::Folder); }, white),
        withAlpha(u"reg2.bmp"_s, [] { return nodeIcon(Node::Play); }, white),
        withAlpha(u"a1.bmp"_s, [] { return lineButton(QColor(0x4A, 0x97, 0xFF), QColor(0x1E, 0x6A, 0xDB), true); }, white),
        withAlpha(u"a2.bmp"_s, [] { return lineButton(QColor(0x4A, 0x97, 0xFF), QColor(0x1E, 0x6A, 0xDB), false); }, white),
        withAlpha(u"b1.bmp"_s, [] { return lineButton(QColor(0x3C, 0xBE, 0xB2), QColor(0x1B, 0x8F, 0x86), true); }, white),
        withAlpha(u"b2.bmp"_s, [] { return lineButton(QColor(0x3C, 0xBE, 0xB2), QColor(0x1B, 0x8F, 0x86), false); }, white),
        withAlpha(u"first.bmp"_s, [] { return navButton(Nav::First, true); }, white),
        withAlpha(u"off_first.bmp"_s, [] { return navButton(Nav::First, false); }, white),
        withAlpha(u"pirr.bmp"_s, [] { return navButton(Nav::Previous, true); }, white),
        withAlpha(u"off_pir.bmp"_s, [] { return navButton(Nav::Previous, false); }, white),
        withAlpha(u"next.bmp"_s, [] { return navButton(Nav::Next, true); }, white),
        withAlpha(u"off_next.bmp"_s, [] { return navButton(Nav::Next, false); }, white),
        withAlpha(u"last.bmp"_s, [] { return navButton(Nav::Last, true); }, white),
        withAlpha(u"off_last.bmp"_s, [] { return navButton(Nav::Last, false); }, white),
        withAlpha(u"zoonout.bmp"_s, [] { return toolButton(Tool::Larger); }, white),
        withAlpha(u"zoonin.bmp"_s, [] { return toolButton(Tool::Smaller); }, white),
        withAlpha(u"st01.bmp"_s, [] { return toolButton(Tool::Info); }, white),
    };
}

QList<SkinPicture> modePictures()
{
    const QColor white = Qt::white;
    const QColor blue = art::colour::accent;
    const QColor red = art::colour::red;
    const QColor amber = art::colour::orange;
    const QColor green = art::colour::green;
    return {
        withAlpha(u"a_1.bmp"_s, [=] { return badge(u"查看答案"_s, blue, u'✓'); }, white),
        withAlpha(u"e_1.bmp"_s, [=] { return badge(u"错题回顾"_s, red, u'✗'); }, white),
        withAlpha(u"n_1.bmp"_s, [=] { return badge(u"未做题目"_s, amber, u'?'); }, white),
        withAlpha(u"s_1.bmp"_s, [=] { return badge(u"重新作答"_s, green, u'↻'); }, white),
        withAlpha(u"e_2.bmp"_s, [=] { return badge(u"查看错题"_s, red, u'✗'); }, white),
        withAlpha(u"n_2.bmp"_s, [=] { return badge(u"未做题目"_s, amber, u'?'); }, white),
    };
}

} // namespace skin
