#include "icon.h"

#include "art.h"

#include <QDir>
#include <QPainterPath>

using namespace Qt::StringLiterals;

namespace icon {

QImage draw(int size)
{
    QImage image = art::canvas(size, size, Qt::transparent);
    art::Painter p(&image);
    const qreal s = size;
    // Small sizes keep a margin of one pixel so the edge stays crisp.
    const QRectF tile(s * 0.04, s * 0.04, s * 0.92, s * 0.92);
    art::roundedPanel(p, tile, s * 0.2, art::colour::accent, art::colour::accentDark);

    const QRectF sheet(s * 0.24, s * 0.17, s * 0.52, s * 0.66);
    p.setPen(Qt::NoPen);
    p.setBrush(art::colour::paper);
    p.drawRoundedRect(sheet, s * 0.05, s * 0.05);

    // Lines of a question; fewer on the smallest sizes, where they would blur into grey.
    const int lines = size < 24 ? 2 : 4;
    const qreal pen = qMax(1.0, s * 0.035);
    p.setPen(QPen(art::colour::line.darker(115), pen, Qt::SolidLine, Qt::RoundCap));
    for (int k = 0; k < lines; ++k) {
        const qreal y = sheet.top() + sheet.height() * (0.2 + 0.16 * k);
        const qreal right = sheet.right() - sheet.width() * (k % 2 ? 0.35 : 0.18);
        p.drawLine(QPointF(sheet.left() + sheet.width() * 0.18, y), QPointF(right, y));
    }

    QPainterPath tick;
    tick.moveTo(s * 0.42, s * 0.66);
    tick.lineTo(s * 0.53, s * 0.77);
    tick.lineTo(s * 0.80, s * 0.46);
    p.setPen(QPen(art::colour::green, qMax(1.5, s * 0.09), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
    return image;
}

bool writeAll(const QString &outDir, QString *error)
{
    for (int size : kSizes) {
        const QString dir = u"%1/hicolor/%2x%2/apps"_s.arg(outDir).arg(size);
        const QString file = dir + u'/' + QLatin1StringView(kName) + u".png"_s;
        if (!QDir().mkpath(dir) || !draw(size).save(file, "PNG")) {
            *error = u"cannot write "_s + file;
            return false;
        }
    }
    return true;
}

} // namespace icon
