#include "practice/ui/skinbackground.h"

#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace skin {

namespace {

// Draws the picture before the widget paints itself.
class BackgroundPainter final : public QObject
{
public:
    BackgroundPainter(const QPixmap &pixmap, QObject *parent)
        : QObject(parent)
        , m_pixmap(pixmap)
    {
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
    // Only the earlier painter goes: the widget's other children (widgets, effects) stay.
    const QObjectList children = widget->children();
    for (QObject *child : children) {
        if (auto *painter = dynamic_cast<BackgroundPainter *>(child)) {
            widget->removeEventFilter(painter);
            delete painter;
        }
    }
    widget->installEventFilter(new BackgroundPainter(picture, widget));
    widget->update();
}

} // namespace skin
