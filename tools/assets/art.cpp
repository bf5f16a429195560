#include "art.h"

#include "bytes.h"

#include <QFileInfo>
#include <QLinearGradient>
#include <QPainterPath>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace art {

QFont font(int pixelSize, int weight)
{
    QFont f(u"Noto Sans CJK SC"_s);
    f.setPixelSize(pixelSize);
    f.setWeight(QFont::Weight(weight));
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QImage canvas(int width, int height, const QColor &fill)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

QImage gradientCanvas(int width, int height, const QColor &top, const QColor &bottom)
{
    QImage image = canvas(width, height, top);
    QPainter p(&image);
    verticalGradient(p, QRectF(0, 0, width, height), top, bottom);
    return image;
}

void verticalGradient(QPainter &p, const QRectF &r, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
}

void horizontalGradient(QPainter &p, const QRectF &r, const QColor &left, const QColor &right)
{
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, left);
    g.setColorAt(1, right);
    p.fillRect(r, g);
}

void roundedPanel(QPainter &p, const QRectF &r, qreal radius, const QColor &top, const QColor &bottom,
                  const QColor &border)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setBrush(g);
    if (border.alpha() == 0)
        p.setPen(Qt::NoPen);
    else
        p.setPen(QPen(border, 1));
    p.drawRoundedRect(r, radius, radius);
    p.restore();
}

void softShadow(QPainter &p, const QRectF &r, qreal radius, int spread, int alpha)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    for (int i = spread; i >= 1; --i) {
        p.setPen(QPen(QColor(20, 40, 80, alpha * (spread - i + 1) / (spread * 2)), 1));
        const QRectF s = r.adjusted(-i, -i + 2, i, i + 2);
        p.drawRoundedRect(s, radius + i, radius + i);
    }
    p.restore();
}

void drawText(QPainter &p, const QRectF &r, int flags, const QString &text, const QFont &f, const QColor &c)
{
    p.save();
    p.setFont(f);
    p.setPen(c);
    p.drawText(r, flags, text);
    p.restore();
}

void button(QPainter &p, const QRectF &r, const QString &caption, const QColor &face, int pixelSize)
{
    const qreal radius = qMin<qreal>(6, r.height() / 3);
    softShadow(p, r, radius, 3, 40);
    roundedPanel(p, r, radius, face.lighter(118), face, face.darker(125));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawLine(QPointF(r.left() + radius, r.top() + 1.5), QPointF(r.right() - radius, r.top() + 1.5));
    p.restore();
    drawText(p, r, Qt::AlignCenter, caption, font(pixelSize, QFont::Medium), Qt::white);
}

QPen stroke(const QColor &c, qreal width)
{
    QPen pen(c, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

bool saveOpaque(const QImage &image, const QString &path, QString *error)
{
    const bool jpeg = path.endsWith(u".jpg"_s, Qt::CaseInsensitive);
    const QImage flat = image.convertToFormat(QImage::Format_RGB888);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !flat.save(&file, jpeg ? "JPEG" : "BMP", jpeg ? 92 : -1)
        || !file.commit()) {
        *error = u"%1: %2"_s.arg(path, file.errorString());
        return false;
    }
    return true;
}

bool saveBmpWithAlpha(const QImage &image, const QString &path, const QColor &backdrop, QString *error)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width();
    const int h = argb.height();
    constexpr quint32 kFileHeader = 14;
    constexpr quint32 kInfoHeader = 124; // BITMAPV5HEADER
    const quint32 pixelBytes = quint32(w) * quint32(h) * 4;

    QByteArray b;
    b.reserve(int(kFileHeader + kInfoHeader + pixelBytes));
    b.append("BM", 2);
    bytes::putLe32(b, kFileHeader + kInfoHeader + pixelBytes);
    bytes::putLe32(b, 0);
    bytes::putLe32(b, kFileHeader + kInfoHeader);

    bytes::putLe32(b, kInfoHeader);
    bytes::putLe32(b, quint32(w));
    bytes::putLe32(b, quint32(h)); // positive: rows bottom-up
    bytes::putLe16(b, 1);
    bytes::putLe16(b, 32);
    bytes::putLe32(b, 3); // BI_BITFIELDS
    bytes::putLe32(b, pixelBytes);
    bytes::putLe32(b, 2835);
    bytes::putLe32(b, 2835);
    bytes::putLe32(b, 0);
    bytes::putLe32(b, 0);
    bytes::putLe32(b, 0x00FF0000);
    bytes::putLe32(b, 0x0000FF00);
    bytes::putLe32(b, 0x000000FF);
    bytes::putLe32(b, 0xFF000000);
    bytes::putLe32(b, 0x73524742); // LCS_sRGB
    b.append(QByteArray(36 + 12, '\0')); // endpoints and gamma, unused with sRGB
    bytes::putLe32(b, 4);                           // LCS_GM_IMAGES
    bytes::putLe32(b, 0);
    bytes::putLe32(b, 0);
    bytes::putLe32(b, 0);

    const QRgb fallback = backdrop.rgb() & 0x00FFFFFF;
    for (int y = h - 1; y >= 0; --y) {
        const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < w; ++x)
            bytes::putLe32(b, qAlpha(row[x]) == 0 ? fallback : row[x]);
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(b) != b.size() || !file.commit()) {
        *error = u"%1: %2"_s.arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace art
