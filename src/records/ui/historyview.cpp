#include "records/ui/historyview.h"

#include "db/connection.h"
#include "db/sql.h"
#include "records/historymodel.h"
#include "records/studyhistory.h"
#include "shell/ui/messages.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

enum class Back { Grid, Cream, White };

struct GridColumn
{
    int width;
    Back back;
};

// In the model's column order.
constexpr GridColumn kColumns[HistoryModel::ColumnCount] = {
    {120, Back::Grid}, {88, Back::Cream}, {82, Back::Grid},  {92, Back::Cream}, {80, Back::Grid},
    {80, Back::Cream}, {60, Back::Grid},  {60, Back::Cream}, {78, Back::White},
};

const QColor kCream(0xFF, 0xFB, 0xF0);

// Column backgrounds, and the rate column's text drawn at its fixed place in the cell.
class HistoryDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        switch (kColumns[index.column()].back) {
        case Back::Cream:
            option->backgroundBrush = kCream;
            break;
        case Back::White:
            option->backgroundBrush = QColor(Qt::white);
            break;
        case Back::Grid:
            break;
        }
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (index.column() != HistoryModel::Rate) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QString text = cell.text;
        cell.text.clear();
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : nullptr;
        if (style)
            style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
        painter->save();
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(25, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
        painter->restore();
    }
};

QFont pixelFont(int px)
{
    QFont f(u"宋体"_s);
    f.setPixelSize(px);
    return f;
}

} // namespace

HistoryView::HistoryView(QWidget *parent)
    : QGroupBox(u"  历史记录  "_s, parent)
{
    setObjectName(u"gbHistory"_s);
    m_model = new HistoryModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(u"DBGrid1"_s);
    m_grid->setAccessibleName(u"历史记录"_s);
    m_grid->setModel(m_model);
    m_grid->setItemDelegate(new HistoryDelegate(m_grid));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setShowGrid(true);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    // Fixed row heights: the view never asks the model for rows it does not show.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    QHeaderView *header = m_grid->horizontalHeader();
    header->setFont(pixelFont(13));
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setHighlightSections(false);
    for (int c = 0; c < HistoryModel::ColumnCount; ++c)
        m_grid->setColumnWidth(c, kColumns[c].width);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { showCourseOf(current.isValid() ? current.row() : -1); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { showCourseOf(-1); });

    auto *courseBox = new QGroupBox(u"  课程及章节信息"_s, this);
    courseBox->setObjectName(u"gbCourse"_s);
    // One line each: chapter and paper names can be long.
    auto *courseRows = new QGridLayout(courseBox);
    courseRows->setColumnStretch(1, 1);
    const auto line = [courseBox, courseRows](const QString &caption, const QString &name) {
        auto *c = new QLabel(caption, courseBox);
        auto *v = new QLabel(courseBox);
        v->setObjectName(name);
        v->setTextInteractionFlags(Qt::TextSelectableByMouse);
        for (QLabel *l : {c, v})
            l->setFont(pixelFont(19));
        v->setStyleSheet(u"color:#0000A0"_s);
        c->setBuddy(v);
        const int row = courseRows->rowCount();
        courseRows->addWidget(c, row, 0);
        courseRows->addWidget(v, row, 1);
        return v;
    };
    m_course = line(u"【课程名称:】"_s, u"courseName"_s);
    m_chapter = line(u"【章节名称:】"_s, u"chapterName"_s);

    auto *column = new QVBoxLayout(this);
    column->addWidget(m_grid, 1);
    column->addWidget(courseBox);
}

void HistoryView::reload()
{
    m_model->reload(db::bank());
    selectFirst();
}

void HistoryView::close()
{
    m_model->close();
}

void HistoryView::selectFirst()
{
    if (m_model->rowCount() == 0)
        return;
    m_grid->setCurrentIndex(m_model->index(0, 0));
    m_grid->scrollToTop();
}

QString HistoryView::courseText() const
{
    return m_course->text();
}

QString HistoryView::chapterText() const
{
    return m_chapter->text();
}

void HistoryView::showCourseOf(int row)
{
    m_course->clear();
    m_chapter->clear();
    const QVariant pageId = row >= 0 ? m_model->pageId(row) : QVariant();
    if (pageId.isNull())
        return;
    try {
        if (const auto found = records::courseOf(db::bank(), pageId.toString())) {
            m_course->setText(found->course);
            m_chapter->setText(found->chapter);
        }
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
    }
}
