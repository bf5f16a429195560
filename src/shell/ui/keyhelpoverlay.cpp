#include "shell/ui/keyhelpoverlay.h"

#include "shell/ui/sessionkeys.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

KeyHelpOverlay::KeyHelpOverlay(const QList<KeyBinding> &table, QWidget *window)
    : QFrame(window)
{
    setObjectName(u"keyHelp"_s);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setAccessibleName(u"键盘操作"_s);
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(u"键盘操作"_s, this);
    m_title = title;
    // The program's fonts are sized in pixels: a point size would read as -1.
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPixelSize(QFontInfo(bold).pixelSize() + 3);
    title->setFont(bold);
    layout->addWidget(title);

    m_list = new QTableWidget(int(table.size()), 2, this);
    m_list->setObjectName(u"keyHelpTable"_s);
    m_list->setAccessibleName(u"键盘操作"_s);
    m_list->setHorizontalHeaderLabels({u"按键"_s, u"操作"_s});
    m_list->verticalHeader()->hide();
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < table.size(); ++r) {
        m_list->setItem(r, 0, new QTableWidgetItem(SessionKeys::keysText(table.at(r).keys)));
        m_list->setItem(r, 1, new QTableWidgetItem(table.at(r).action));
    }
    m_list->resizeColumnToContents(0);
    m_list->setColumnWidth(0, m_list->columnWidth(0) + 24);
    layout->addWidget(m_list, 1);

    auto *close = new QPushButton(u"关闭"_s, this);
    close->setObjectName(u"keyHelpClose"_s);
    m_close = close;
    close->setToolTip(u"关闭键盘帮助（F1 或 Esc）"_s);
    connect(close, &QPushButton::clicked, this, &KeyHelpOverlay::close);
    layout->addWidget(close, 0, Qt::AlignRight);

    m_list->installEventFilter(this);
    close->installEventFilter(this);
    window->installEventFilter(this);
    hide();
}

void KeyHelpOverlay::open()
{
    m_returnFocus = window()->focusWidget();
    place();
    show();
    raise();
    // The highlight covers a whole row from the first press on, not a single cell.
    if (!m_list->currentIndex().isValid() || m_list->selectedItems().isEmpty())
        m_list->selectRow(qMax(0, m_list->currentRow()));
    m_list->setFocus();
}

void KeyHelpOverlay::close()
{
    hide();
    if (m_returnFocus)
        m_returnFocus->setFocus();
}

void KeyHelpOverlay::place()
{
    // Every row in view when the window has room for them; otherwise the list scrolls.
    QWidget *w = parentWidget();
    const QMargins m = layout()->contentsMargins();
    const int rest =
        m.top() + m.bottom() + m_title->sizeHint().height() + m_close->sizeHint().height() + 2 * layout()->spacing();
    const int rows =
        m_list->verticalHeader()->length() + m_list->horizontalHeader()->height() + 2 * m_list->frameWidth();
    const int height = qMin(rest + rows, w->height() - 20);
    m_list->setFixedHeight(qMax(60, height - rest));
    m_title->setFixedHeight(m_title->sizeHint().height());
    const QSize size(qMin(520, w->width() - 20), height);
    setGeometry(QRect(QPoint((w->width() - size.width()) / 2, (w->height() - size.height()) / 2), size));
}

bool KeyHelpOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget()) {
        if (event->type() == QEvent::Resize && isVisible())
            place();
        return QFrame::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}
