#pragma once

#include <QList>

class QAbstractButton;
class QWidget;

namespace keys {

// Enter (or the keypad's Enter) on the focused button clicks it, as Space does.
void clickOnEnter(QAbstractButton *button);

// Chains the buttons into the tab order right after `after`, in the given order, and the last of
// them before `before` (when given): buttons created later would otherwise come last.
void chainTabOrder(QWidget *after, const QList<QAbstractButton *> &buttons, QWidget *before = nullptr);

} // namespace keys
