#include "shell/ui/sessionkeys.h"

#include "shell/ui/keyhelpoverlay.h"

#include <QAbstractButton>
#include <QShortcut>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

QString keyName(const QKeySequence &key)
{
    switch (key[0].key()) {
    case Qt::Key_Left:
        return u"←"_s;
    case Qt::Key_Right:
        return u"→"_s;
    case Qt::Key_Up:
        return u"↑"_s;
    case Qt::Key_Down:
        return u"↓"_s;
    case Qt::Key_PageUp:
        return u"PageUp"_s;
    case Qt::Key_PageDown:
        return u"PageDown"_s;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return u"Enter"_s;
    case Qt::Key_Plus:
    case Qt::Key_Minus: {
        // "Ctrl++" and "Ctrl+-" are hard to read and are read out badly: the sign by its name.
        const QString sign = key[0].key() == Qt::Key_Plus ? u"加号"_s : u"减号"_s;
        const QString modifiers = QKeySequence(key[0].keyboardModifiers() | Qt::Key_A).toString(QKeySequence::NativeText);
        return modifiers.chopped(1) + sign;
    }
    default:
        return key.toString(QKeySequence::NativeText);
    }
}

} // namespace

QList<KeyBinding> optionKeys(const std::function<void(int)> &click)
{
    QList<KeyBinding> table;
    for (int k = 0; k < 6; ++k) {
        const QChar letter(u'A' + k);
        table.append(
            {{QKeySequence(Qt::Key_A + k), QKeySequence(Qt::Key_1 + k)},
             u"选择选项 "_s + letter + (k < 2 ? (k == 0 ? u"（判断题：对）"_s : u"（判断题：错）"_s) : QString()),
             [click, k] { click(k); },
             nullptr});
    }
    return table;
}

SessionKeys::SessionKeys(QWidget *window, QList<KeyBinding> table)
    : QObject(window)
    , m_table(std::move(table))
{
    m_table.append({{QKeySequence(Qt::Key_F1)}, u"显示或关闭本键盘帮助"_s, [this] { toggleHelp(); }, nullptr});
    for (qsizetype r = 0; r < m_table.size(); ++r) {
        const KeyBinding &binding = m_table.at(r);
        const bool help = r == m_table.size() - 1;
        for (const QKeySequence &key : binding.keys) {
            auto *shortcut = new QShortcut(key, window);
            // One press, one tick: a held key must not toggle a multiple-choice box back and forth.
            shortcut->setAutoRepeat(false);
            // While the help is up only F1 acts; a disabled button's key does nothing, as its click would.
            connect(shortcut, &QShortcut::activated, this,
                    [this, help, run = binding.run, button = QPointer(binding.button)] {
                        if (!help && m_overlay->isVisible())
                            return;
                        if (button && !button->isEnabled())
                            return;
                        run();
                    });
        }
        if (binding.button)
            binding.button->setToolTip(tooltipText(binding));
    }
    m_overlay = new KeyHelpOverlay(m_table, window);
}

void SessionKeys::toggleHelp()
{
    if (m_overlay->isVisible())
        m_overlay->close();
    else
        m_overlay->open();
}

QString SessionKeys::keysText(const QList<QKeySequence> &keys)
{
    QStringList names;
    for (const QKeySequence &key : keys)
        names << keyName(key);
    return names.join(u" 或 "_s);
}

QString SessionKeys::tooltipText(const KeyBinding &binding)
{
    return binding.action + u"（"_s + keysText(binding.keys) + u"）"_s;
}
