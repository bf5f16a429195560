#include "shell/ui/enterclick.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace keys {

namespace {

class EnterClicks final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            auto *button = qobject_cast<QAbstractButton *>(watched);
            const bool plain = key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier;
            if (enter && plain && button) {
                if (button->isEnabled())
                    button->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void clickOnEnter(QAbstractButton *button)
{
    button->installEventFilter(new EnterClicks(button));
}

void chainTabOrder(QWidget *after, const QList<QAbstractButton *> &buttons, QWidget *before)
{
    QWidget *previous = after;
    for (QAbstractButton *b : buttons) {
        QWidget::setTabOrder(previous, b);
        previous = b;
    }
    if (before && previous != after)
        QWidget::setTabOrder(previous, before);
}

} // namespace keys
