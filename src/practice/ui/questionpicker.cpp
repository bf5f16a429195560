#include "practice/ui/questionpicker.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kAnsweredRole = Qt::UserRole + 1;

class RowColours final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const bool answered = index.data(kAnsweredRole).toBool();
        const QColor text = answered ? QColor(Qt::red) : QColor(Qt::black);
        option->palette.setColor(QPalette::Text, text);
        option->palette.setColor(QPalette::HighlightedText, answered ? text : QColor(Qt::white));
    }
};

} // namespace

QuestionPicker::QuestionPicker(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(u"questionPicker"_s);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setFixedSize(560, 460);

    m_list = new QTableWidget(0, 4, this);
    m_list->setObjectName(u"pickerList"_s);
    m_list->setAccessibleName(u"题目列表"_s);
    m_list->setHorizontalHeaderLabels({u"序号"_s, u"题型"_s, u"做题状态"_s, u"标记状态"_s});
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setItemDelegate(new RowColours(m_list));
    connect(m_list, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row < 0)
            return;
        m_stem->setPlainText(m_stems.value(row));
        Q_EMIT highlighted(row);
    });
    connect(m_list, &QTableWidget::cellDoubleClicked, this, &QWidget::hide);

    m_stem = new QTextEdit(this);
    m_stem->setObjectName(u"pickerStem"_s);
    m_stem->setAccessibleName(u"题目描述"_s);
    m_stem->setReadOnly(true);
    m_stem->setFixedHeight(90);
    auto *back = new QPushButton(u"返回"_s, this);
    back->setObjectName(u"pickerBack"_s);
    connect(back, &QPushButton::clicked, this, &QWidget::hide);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(new QLabel(u"题目描述:"_s, this));
    layout->addWidget(m_stem);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(back);
    layout->addLayout(buttons);
    hide();
}

void QuestionPicker::fill(const QList<practice::PracticeRow> &rows, int current)
{
    const QSignalBlocker quiet(m_list);
    m_list->setRowCount(int(rows.size()));
    m_stems.clear();
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < m_list->columnCount(); ++c)
            m_list->setItem(r, c, new QTableWidgetItem);
        setCells(r, rows.at(r));
        m_stems << rows.at(r).stem;
    }
    setCurrent(current);
}

void QuestionPicker::follow(const QList<practice::PracticeRow> &rows, int current)
{
    if (rows.size() != m_list->rowCount()) {
        fill(rows, current);
        return;
    }
    const QSignalBlocker quiet(m_list);
    for (int r = 0; r < rows.size(); ++r)
        setCells(r, rows.at(r));
    setCurrent(current);
}

void QuestionPicker::setCells(int r, const practice::PracticeRow &row)
{
    const QStringList cells = {QString::number(r + 1), practice::typeName(row.type),
                               row.done ? u"已做题"_s : u"未做题"_s, row.marked ? u"已标记"_s : u"未标记"_s};
    for (int c = 0; c < cells.size(); ++c) {
        QTableWidgetItem *item = m_list->item(r, c);
        item->setText(cells.at(c));
        item->setData(kAnsweredRole, row.done);
    }
}

void QuestionPicker::setCurrent(int current)
{
    if (current < 0 || current >= m_list->rowCount())
        return;
    // A highlight by the learner is already in place; moving it again would fight the click.
    if (m_list->currentRow() != current)
        m_list->setCurrentCell(current, 0);
    m_stem->setPlainText(m_stems.value(current));
}

void QuestionPicker::openOver(const QWidget *area)
{
    const QPoint topLeft = area->mapTo(parentWidget(), QPoint(0, 0));
    move(topLeft.x() + (area->width() - width()) / 2, topLeft.y() + qMax(0, (area->height() - height()) / 2));
    show();
    raise();
    m_list->setFocus();
}
