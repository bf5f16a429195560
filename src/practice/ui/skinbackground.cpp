#include "practice/ui/skinbackground.h"

#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace skin {

namespace {

constexpr auto kPainterName = "skinBackgroundPainter";

// Draws the picture before the widget paints itself.
class BackgroundPainter final : public QObject
{
public:
    BackgroundPainter(const QPixmap &pixmap, QObject *parent)
        : QObject(parent)
        , m_pixmap(pixmap)
    {
        setObjectName(QString::fromLatin1(kPainterName));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            auto *w = static_cast<QWidget *>(watched);
            QPainter p(w);
            p.drawPixmap(w->rect(), m_pixmap);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPixmap m_pixmap;
};

} // namespace

void setBackground(QWidget *widget, const QPixmap &picture)
{
    if (picture.isNull())
        return;
    // Found by name: without a meta-object of its own, a cast to BackgroundPainter would match
    // every child of the widget (its buttons included).
    const auto old = widget->findChildren<QObject *>(QString::fromLatin1(kPainterName), Qt::FindDirectChildrenOnly);
    for (QObject *painter : old) {
        widget->removeEventFilter(painter);
        delete painter;
    }
    auto *painter = new BackgroundPainter(picture, widget);
    painter->setObjectName(QString::fromLatin1(kPainterName));
    widget->installEventFilter(painter);
    widget->update();
}

} // namespace skin
