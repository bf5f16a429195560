#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

// Palette, fonts and small drawing helpers shared by every picture the asset tool draws, and the
// two writers (opaque BMP/JPEG through Qt, BMP with an alpha channel of our own).
namespace art {

namespace colour {
inline const QColor accent{0x1E, 0x6F, 0xD9};     // main blue
inline const QColor accentDark{0x0B, 0x3D, 0x91}; // title bar, headings
inline const QColor accentSoft{0xDC, 0xE9, 0xFA}; // selected areas
inline const QColor paper{0xF5, 0xF9, 0xFE};      // light panel background
inline const QColor cream{0xFC, 0xFA, 0xF2};      // dialogs
inline const QColor ink{0x1F, 0x2D, 0x3D};        // body text
inline const QColor muted{0x7A, 0x8A, 0x9E};      // secondary text
inline const QColor line{0xC9, 0xD7, 0xE8};       // hairlines
inline const QColor navBar{0x17, 0x47, 0x8C};     // navigation bar face (glyph backdrop)
inline const QColor green{0x2F, 0xA3, 0x6B};
inline const QColor red{0xE0, 0x4F, 0x4F};
inline const QColor orange{0xF0, 0x9A, 0x36};
} // namespace colour

// A CJK sans-serif face at a pixel size.
QFont font(int pixelSize, int weight = QFont::Normal);

// An image of the given size filled with a colour (Qt::transparent gives an alpha image).
QImage canvas(int width, int height, const QColor &fill);

// An opaque image filled with a top-to-bottom gradient.
QImage gradientCanvas(int width, int height, const QColor &top, const QColor &bottom);

// A painter that draws antialiased, as every picture here does.
class Painter final : public QPainter
{
public:
    explicit Painter(QImage *image) : QPainter(image) { setRenderHint(QPainter::Antialiasing); }
};

void verticalGradient(QPainter &p, const QRectF &r, const QColor &top, const QColor &bottom);
void horizontalGradient(QPainter &p, const QRectF &r, const QColor &left, const QColor &right);

// A rounded rectangle filled with a top-to-bottom gradient.
void roundedPanel(QPainter &p, const QRectF &r, qreal radius, const QColor &top, const QColor &bottom,
                  const QColor &border = Qt::transparent);

// A soft shadow under a rounded rectangle (a few widening translucent outlines).
void softShadow(QPainter &p, const QRectF &r, qreal radius, int spread = 6, int alpha = 22);

void drawText(QPainter &p, const QRectF &r, int flags, const QString &text, const QFont &f, const QColor &c);

// A push-button face with a caption, as drawn on the slides and in the mode pictures.
void button(QPainter &p, const QRectF &r, const QString &caption, const QColor &face, int pixelSize);

// A pen for pictogram strokes.
QPen stroke(const QColor &c, qreal width);

// Writes an opaque picture; the format follows the suffix (.bmp 24-bit, .jpg quality 92).
bool saveOpaque(const QImage &image, const QString &path, QString *error);

// Writes a 32-bit BMP (BITMAPV5HEADER) that keeps the alpha channel. Fully transparent pixels carry
// the backdrop colour, so that a reader ignoring alpha still sees the picture on that colour.
bool saveBmpWithAlpha(const QImage &image, const QString &path, const QColor &backdrop, QString *error);

} // namespace art
