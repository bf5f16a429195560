#pragma once

#include <QFrame>
#include <QPointer>

struct KeyBinding;
class QTableWidget;

// The F1 help of a session window: its key table drawn over the window's middle, with "关闭".
// F1 or Esc closes it too; the focus goes back where it was.
// Object names: keyHelp, keyHelpTable, keyHelpClose.
class KeyHelpOverlay final : public QFrame
{
    Q_OBJECT
public:
    KeyHelpOverlay(const QList<KeyBinding> &table, QWidget *window);

    void open();
    void close();
    QTableWidget *list() const { return m_list; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QWidget *m_title = nullptr;
    QTableWidget *m_list = nullptr;
    QWidget *m_close = nullptr;
    QPointer<QWidget> m_returnFocus;
};
