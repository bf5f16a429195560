#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QAbstractButton;
class QWidget;
class KeyHelpOverlay;

// One row of a session window's key table: the keys, what they do (as the help overlay lists it)
// and the slot they run, which is the one the matching button runs. A button given here gets the
// action and its keys as its tooltip.
struct KeyBinding
{
    QList<QKeySequence> keys;
    QString action;
    std::function<void()> run;
    QAbstractButton *button = nullptr;
};

// A–F and 1–6: the six option rows both session windows start their tables with; click(k) ticks
// option k as a click on its box would.
QList<KeyBinding> optionKeys(const std::function<void(int)> &click);

// The keys of one session window, declared as one table. Every key is a window shortcut: it reaches
// the window whatever control has the focus, but a text box that takes the key for typing (a letter
// or digit, the cursor keys of a line edit) keeps it. F1 shows and hides the overlay listing the table.
class SessionKeys final : public QObject
{
    Q_OBJECT
public:
    SessionKeys(QWidget *window, QList<KeyBinding> table);

    const QList<KeyBinding> &table() const { return m_table; }
    KeyHelpOverlay *overlay() const { return m_overlay; }
    void toggleHelp();

    // "→ 或 PageDown": the keys as the overlay and the tooltips show them.
    static QString keysText(const QList<QKeySequence> &keys);
    // "下一题（→ 或 PageDown）"
    static QString tooltipText(const KeyBinding &binding);

private:
    QList<KeyBinding> m_table;
    KeyHelpOverlay *m_overlay = nullptr;
};
