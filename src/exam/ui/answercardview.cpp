#include "exam/ui/answercardview.h"

#include "exam/answercard.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using exam::NodeState;

namespace {

constexpr int kIndexRole = Qt::UserRole + 1;

QColor rgb(quint32 value)
{
    return QColor::fromRgb(value);
}

QWidget *legendEntry(const QString &caption, NodeState state, QWidget *parent)
{
    auto *entry = new QWidget(parent);
    auto *row = new QHBoxLayout(entry);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(3);
    auto *swatch = new QLabel(entry);
    swatch->setFixedSize(12, 12);
    swatch->setStyleSheet(
        u"background:%1;border:1px solid #808080;"_s.arg(rgb(exam::colours(state).background).name()));
    row->addWidget(swatch);
    row->addWidget(new QLabel(caption, entry));
    return entry;
}

// The nodes carry their state colours and nothing is ever selected, so the style's faint focus
// frame is all that shows the keyboard cursor; a dark frame makes it plain on every colour.
class CursorFrameDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (!(option.state & QStyle::State_HasFocus))
            return;
        painter->save();
        painter->setPen(QPen(QColor(0, 0, 128), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
        painter->restore();
    }
};

} // namespace

AnswerCardView::AnswerCardView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(u"answerCard"_s);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    auto *title = new QLabel(u"答题卡"_s, this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    column->addWidget(title);
    auto *legend = new QHBoxLayout;
    legend->setSpacing(6);
    legend->addWidget(legendEntry(u"当前"_s, NodeState::Current, this));
    legend->addWidget(legendEntry(u"未做"_s, NodeState::NotDone, this));
    legend->addWidget(legendEntry(u"已做"_s, NodeState::Done, this));
    legend->addWidget(legendEntry(u"待查"_s, NodeState::Marked, this));
    legend->addStretch();
    column->addLayout(legend);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(u"tv"_s);
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setSelectionMode(QAbstractItemView::NoSelection);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setAccessibleName(u"答题卡"_s);
    m_tree->installEventFilter(this);
    m_tree->setItemDelegate(new CursorFrameDelegate(m_tree));
    m_tree->setIndentation(12);
    m_tree->viewport()->setCursor(Qt::PointingHandCursor);
    // Node texts are padded with blanks to line up their brackets: a font with fixed widths.
    QFont mono(u"Noto Sans Mono CJK SC"_s);
    mono.setStyleHint(QFont::Monospace);
    mono.setPointSize(10);
    m_tree->setFont(mono);
    column->addWidget(m_tree, 1);
    connect(m_tree, &QTreeWidget::itemClicked, this, &AnswerCardView::onItemClicked);
}

void AnswerCardView::showCard(const exam::AnswerCard &card, int selected)
{
    m_tree->setUpdatesEnabled(false);
    m_tree->clear();
    m_items.clear();
    QTreeWidgetItem *heading = nullptr;
    for (int k = 0; k < card.size(); ++k) {
        const exam::CardNode &node = card.at(k);
        QTreeWidgetItem *item = nullptr;
        if (node.heading || !heading) {
            item = new QTreeWidgetItem(m_tree, {node.text});
            if (node.heading)
                heading = item;
        } else {
            item = new QTreeWidgetItem(heading, {node.text});
        }
        const exam::NodeColours c = exam::colours(card.state(k, k == selected));
        item->setBackground(0, rgb(c.background));
        item->setForeground(0, rgb(c.text));
        item->setData(0, kIndexRole, k);
        item->setData(0, Qt::AccessibleDescriptionRole, exam::stateName(card.state(k, k == selected)));
        m_items << item;
    }
    m_tree->expandAll();
    m_selected = selected;
    if (QTreeWidgetItem *item = itemOf(selected)) {
        m_tree->setCurrentItem(item);
        m_tree->scrollToItem(item);
    }
    m_tree->setUpdatesEnabled(true);
}

QTreeWidgetItem *AnswerCardView::itemOf(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index) : nullptr;
}

void AnswerCardView::focusCard()
{
    if (isHidden())
        return;
    if (QTreeWidgetItem *item = itemOf(m_selected))
        m_tree->setCurrentItem(item);
    m_tree->setFocus(Qt::ShortcutFocusReason);
}

bool AnswerCardView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            onItemClicked(m_tree->currentItem());
            return true;
        }
    }
    // The card's own cursor keys win over the window's keys while the card has the focus.
    if (watched == m_tree && event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Home || key == Qt::Key_End) {
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void AnswerCardView::onItemClicked(QTreeWidgetItem *item)
{
    if (!item)
        return;
    if (item->childCount() > 0) {
        // A heading opens with everything below it.
        item->setExpanded(true);
        for (int k = 0; k < item->childCount(); ++k)
            item->child(k)->setExpanded(true);
        return;
    }
    Q_EMIT nodeClicked(item->data(0, kIndexRole).toInt());
}
