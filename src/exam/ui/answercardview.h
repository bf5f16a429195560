#pragma once

#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;
namespace exam {
class AnswerCard;
}

// The answer card of the exam window: the title "答题卡", the legend of the four states and the
// tree `tv` that draws an exam::AnswerCard with its colours. Clicking a node reports its index; so
// does Enter (or Space) on the node the keyboard cursor is on: the arrows move that cursor, which
// starts on the current node. Each node's accessible description says its state.
class AnswerCardView final : public QWidget
{
    Q_OBJECT
public:
    explicit AnswerCardView(QWidget *parent = nullptr);

    void showCard(const exam::AnswerCard &card, int selected);
    QTreeWidget *tree() const { return m_tree; }
    // The tree item of a card node, nullptr when there is none.
    QTreeWidgetItem *itemOf(int index) const;
    // Gives the tree the focus, its cursor on the current node.
    void focusCard();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

Q_SIGNALS:
    void nodeClicked(int index);

private:
    void onItemClicked(QTreeWidgetItem *item);

    QTreeWidget *m_tree = nullptr;
    QList<QTreeWidgetItem *> m_items; // by card index
    int m_selected = -1;
};
