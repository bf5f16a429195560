#include "practice/ui/entryeditor.h"

#include "practice/ui/accountpicker.h"
#include "shell/apppaths.h"

#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

using namespace Qt::StringLiterals;
using practice::Direction;
using practice::kLinesPerSubItem;
using practice::kSubItems;

namespace {

// Discards typed characters other than digits and "."; Backspace, Enter, keys that type nothing
// (arrows) and shortcuts pass. What a shortcut such as Ctrl+V inserts meets the validator below.
class DigitKeyFilter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const QString text = key->text();
            const bool shortcut = key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
            if (!shortcut && !text.isEmpty() && text.at(0).isPrint() && !practice::filteredKeyAccepted(text.at(0)))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// Refuses a paste or a drop that holds anything the key filter would have discarded.
class DigitValidator final : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        return practice::filteredTextAccepted(input) ? Acceptable : Invalid;
    }
};

QToolButton *directionButton(const QString &caption, const QString &name, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setCheckable(true);
    b->setFixedSize(26, 24);
    b->setStyleSheet(u"QToolButton:checked{background:#1E5AA8;color:white;font-weight:bold}"_s);
    return b;
}

} // namespace

EntryEditor::EntryEditor(practice::EditorVariant variant, QWidget *parent)
    : QWidget(parent)
    , m_variant(variant)
{
    m_keyFilter = new DigitKeyFilter(this);
    m_digitsOnly = new DigitValidator(this);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(u"entryEditorScroll"_s);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    auto *content = new QWidget;
    content->setObjectName(u"entryEditorContent"_s);
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(6);
    m_picker = new AccountPicker(this);
    for (int s = 0; s < kSubItems; ++s)
        column->addWidget(buildSubItem(s));
    column->addStretch();
    m_scroll->setWidget(content);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
    m_picker->raise();
    setContent({});
}

EntryEditor::~EntryEditor() = default;

QWidget *EntryEditor::buildSubItem(int s)
{
    SubItem &item = m_items[s];
    const QString n = QString::number(s + 1);
    item.panel = new QWidget;
    item.panel->setObjectName(u"subItem"_s + n);
    auto *layout = new QVBoxLayout(item.panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    item.number = new QLabel(u"1-"_s + n, item.panel);
    item.number->setObjectName(u"subItemNumber"_s + n);
    QFont bold = item.number->font();
    bold.setBold(true);
    item.number->setFont(bold);
    layout->addWidget(item.number);

    item.computedRow = new QWidget(item.panel);
    auto *computedLayout = new QHBoxLayout(item.computedRow);
    computedLayout->setContentsMargins(0, 0, 0, 0);
    computedLayout->addWidget(new QLabel(u"计算金额:"_s, item.computedRow));
    item.computed = new QLineEdit(item.computedRow);
    item.computed->setObjectName(u"computedAmount"_s + n);
    QFont large = item.computed->font();
    large.setPointSize(14);
    item.computed->setFont(large);
    item.computed->setMaximumWidth(260);
    if (practice::computedKeysFiltered(m_variant)) {
        item.computed->installEventFilter(m_keyFilter);
        item.computed->setValidator(m_digitsOnly);
        item.computed->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    computedLayout->addWidget(item.computed);
    computedLayout->addStretch();
    layout->addWidget(item.computedRow);

    for (int l = 0; l < kLinesPerSubItem; ++l)
        layout->addWidget(buildLine(s, l));
    return item.panel;
}

QWidget *EntryEditor::buildLine(int s, int l)
{
    Line &line = m_items[s].lines[l];
    const QString key = QString::number(s + 1) + u'_' + QString::number(l + 1);
    line.row = new QWidget;
    line.row->setObjectName(u"line"_s + key);
    auto *layout = new QHBoxLayout(line.row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    layout->addWidget(new QLabel(u"借贷方向:"_s, line.row));
    line.debit = directionButton(u"借"_s, u"debit"_s + key, line.row);
    line.credit = directionButton(u"贷"_s, u"credit"_s + key, line.row);
    layout->addWidget(line.debit);
    layout->addWidget(line.credit);
    // Exclusive, and a chosen direction stays chosen until the other one is pressed.
    for (auto [self, other] : {std::pair{line.debit, line.credit}, std::pair{line.credit, line.debit}}) {
        connect(self, &QToolButton::clicked, this, [self, other](bool checked) {
            if (!checked)
                self->setChecked(true);
            other->setChecked(false);
        });
    }

    layout->addWidget(new QLabel(u"会计科目:"_s, line.row));
    line.account = new QLineEdit(line.row);
    line.account->setObjectName(u"account"_s + key);
    line.account->setMinimumWidth(130);
    layout->addWidget(line.account, 2);
    auto *pick = new QToolButton(line.row);
    pick->setObjectName(u"pick"_s + key);
    pick->setText(u"…"_s);
    connect(pick, &QToolButton::clicked, this, [this, target = line.account] { m_picker->openFor(target); });
    layout->addWidget(pick);

    layout->addWidget(new QLabel(u"金额:"_s, line.row));
    line.amount = new QLineEdit(line.row);
    line.amount->setObjectName(u"amount"_s + key);
    line.amount->setMinimumWidth(80);
    if (practice::amountKeysFiltered(m_variant, s + 1)) {
        line.amount->installEventFilter(m_keyFilter);
        line.amount->setValidator(m_digitsOnly);
        line.amount->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    layout->addWidget(line.amount, 1);

    // Odd sub-items carry the "a" pictures, even ones the "b" pictures.
    const QString skin = (s % 2 == 0) ? u"a"_s : u"b"_s;
    auto pictureButton = [&](const QString &name, const QString &picture, const QString &fallback,
                             const QString &hint) {
        auto *b = new QToolButton(line.row);
        b->setObjectName(name + key);
        b->setToolTip(hint);
        const QIcon icon(AppPaths::current().file(u"skin/"_s + picture));
        if (!icon.pixmap(16, 16).isNull()) {
            b->setIcon(icon);
            b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        } else {
            b->setText(fallback);
        }
        layout->addWidget(b);
        return b;
    };
    line.remove = pictureButton(u"delete"_s, skin + u"2.bmp"_s, u"－"_s, u"删除本科目"_s);
    line.add = pictureButton(u"add"_s, skin + u"1.bmp"_s, u"＋"_s, u"增加科目"_s);
    line.add->setVisible(practice::hasAddButton(m_variant, s + 1, l + 1));
    connect(line.remove, &QToolButton::clicked, this,
            [this, s, l] { apply(s, practice::deletePressed(m_variant, s + 1, l + 1)); });
    connect(line.add, &QToolButton::clicked, this,
            [this, s, l] { apply(s, practice::addPressed(m_variant, s + 1, l + 1)); });
    return line.row;
}

void EntryEditor::apply(int s, const practice::LineAction &action)
{
    if (action.show)
        setLineShown(s, action.show - 1, true);
    if (action.hide)
        setLineShown(s, action.hide - 1, false);
    if (action.disableDelete)
        m_items[s].lines[action.disableDelete - 1].remove->setEnabled(false);
    if (action.enableDelete)
        m_items[s].lines[action.enableDelete - 1].remove->setEnabled(true);
}

void EntryEditor::setLineShown(int s, int l, bool shown)
{
    // The row's own flag, not its effective visibility: a hidden sub-item keeps its lines' state.
    m_items[s].lines[l].row->setProperty("shownLine", shown);
    m_items[s].lines[l].row->setVisible(shown);
    updateComputedRow(s);
}

void EntryEditor::updateComputedRow(int s)
{
    const auto &lines = m_items[s].lines;
    m_items[s].computedRow->setVisible(!lines[0].row->property("shownLine").toBool() &&
                                       !lines[1].row->property("shownLine").toBool());
}

void EntryEditor::setSubItemsShown(const std::array<bool, kSubItems> &shown)
{
    for (int s = 0; s < kSubItems; ++s)
        m_items[s].panel->setVisible(shown[s]);
}

void EntryEditor::setNumber(const QString &numberWithinType)
{
    bool ok = false;
    numberWithinType.toInt(&ok);
    const QString prefix = ok ? numberWithinType : u"1"_s;
    for (int s = 0; s < kSubItems; ++s)
        m_items[s].number->setText(prefix + u'-' + QString::number(s + 1));
}

void EntryEditor::setContent(const practice::EditorContent &content)
{
    // The account picker stays as it is: it and its target box last until the next "…" press.
    for (int s = 0; s < kSubItems; ++s) {
        SubItem &item = m_items[s];
        item.computed->setText(content.amounts[s]);
        for (int l = 0; l < kLinesPerSubItem; ++l) {
            const practice::EntryLine &data = content.lines[s][l];
            Line &line = item.lines[l];
            line.debit->setChecked(data.direction == Direction::Debit);
            line.credit->setChecked(data.direction == Direction::Credit);
            line.account->setText(data.account);
            line.amount->setText(data.amount);
            setLineShown(s, l, data.shown);
        }
    }
    m_scroll->ensureVisible(0, 0);
}

practice::EditorContent EntryEditor::content() const
{
    practice::EditorContent content;
    for (int s = 0; s < kSubItems; ++s) {
        const SubItem &item = m_items[s];
        content.amounts[s] = item.computed->text();
        for (int l = 0; l < kLinesPerSubItem; ++l) {
            const Line &line = item.lines[l];
            practice::EntryLine &data = content.lines[s][l];
            data.shown = line.row->property("shownLine").toBool();
            data.direction = line.debit->isChecked()    ? Direction::Debit
                             : line.credit->isChecked() ? Direction::Credit
                                                        : Direction::None;
            data.account = line.account->text();
            data.amount = line.amount->text();
        }
    }
    return content;
}

void EntryEditor::trimAll()
{
    for (SubItem &item : m_items) {
        item.computed->setText(item.computed->text().trimmed());
        for (Line &line : item.lines) {
            line.account->setText(line.account->text().trimmed());
            line.amount->setText(line.amount->text().trimmed());
        }
    }
}
