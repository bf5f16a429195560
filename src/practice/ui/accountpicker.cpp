#include "practice/ui/accountpicker.h"

#include "practice/accountfilter.h"
#include "practice/chartofaccounts.h"
#include "shell/ui/messages.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

bool isOneOf(int key, std::initializer_list<int> keys)
{
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

} // namespace

AccountPicker::AccountPicker(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(u"accountPicker"_s);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setFixedSize(300, 450);

    auto *find = new QLabel(u"查找科目:"_s, this);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(u"accountFilter"_s);
    m_filter->setPlaceholderText(u"科目名称的一部分或序号"_s);
    find->setBuddy(m_filter);
    connect(m_filter, &QLineEdit::textChanged, this, &AccountPicker::applyFilter);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(u"accountTree"_s);
    m_tree->setAccessibleName(u"会计科目"_s);
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(2);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    int position = 0;
    for (const practice::AccountCategory &category : practice::chartOfAccounts()) {
        auto *node = new QTreeWidgetItem(m_tree, {category.name});
        for (const QString &account : category.accounts) {
            auto *item = new QTreeWidgetItem(node, {account, QString::number(++position)});
            item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
            item->setData(0, Qt::AccessibleDescriptionRole, u"序号 %1"_s.arg(position));
        }
    }
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_tree->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_tree->expandAll();
    // A double-click on a category only opens or closes it.
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (item && item->parent())
            accept();
    });

    auto *ok = new QPushButton(u"确定"_s, this);
    ok->setObjectName(u"accountOk"_s);
    auto *cancel = new QPushButton(u"取消"_s, this);
    cancel->setObjectName(u"accountCancel"_s);
    connect(ok, &QPushButton::clicked, this, &AccountPicker::accept);
    connect(cancel, &QPushButton::clicked, this, &AccountPicker::cancel);

    auto *findRow = new QHBoxLayout;
    findRow->addWidget(find);
    findRow->addWidget(m_filter, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(findRow);
    layout->addWidget(m_tree);
    layout->addLayout(buttons);
    m_filter->installEventFilter(this);
    m_tree->installEventFilter(this);
    hide();
}

void AccountPicker::openFor(QLineEdit *target, const QString &typed)
{
    m_target = target;
    if (QWidget *p = parentWidget())
        move((p->width() - width()) / 2, qMax(0, (p->height() - height()) / 2));
    // The same text again still filters: a tree left unfiltered by an earlier opening is set right.
    m_filter->setText(typed);
    applyFilter(typed);
    show();
    raise();
    m_filter->setFocus(Qt::OtherFocusReason);
}

void AccountPicker::applyFilter(const QString &typed)
{
    const QList<practice::AccountRef> matches = practice::matchingAccounts(typed);
    for (int c = 0; c < m_tree->topLevelItemCount(); ++c) {
        QTreeWidgetItem *category = m_tree->topLevelItem(c);
        for (int a = 0; a < category->childCount(); ++a)
            category->child(a)->setHidden(true);
    }
    for (const practice::AccountRef &m : matches)
        m_tree->topLevelItem(m.category)->child(m.account)->setHidden(false);
    for (int c = 0; c < m_tree->topLevelItemCount(); ++c) {
        QTreeWidgetItem *category = m_tree->topLevelItem(c);
        bool any = false;
        for (int a = 0; a < category->childCount() && !any; ++a)
            any = !category->child(a)->isHidden();
        category->setHidden(!any);
    }
    m_tree->clearSelection();
    const int best = typed.trimmed().isEmpty() ? -1 : practice::preferredMatch(matches, typed);
    if (best < 0) {
        m_tree->setCurrentItem(nullptr);
        return;
    }
    QTreeWidgetItem *item = m_tree->topLevelItem(matches.at(best).category)->child(matches.at(best).account);
    m_tree->setCurrentItem(item);
    m_tree->scrollToItem(item);
}

QList<QTreeWidgetItem *> AccountPicker::visibleAccounts() const
{
    QList<QTreeWidgetItem *> items;
    for (int c = 0; c < m_tree->topLevelItemCount(); ++c) {
        QTreeWidgetItem *category = m_tree->topLevelItem(c);
        for (int a = 0; a < category->childCount(); ++a) {
            if (!category->child(a)->isHidden() && !category->isHidden())
                items << category->child(a);
        }
    }
    return items;
}

void AccountPicker::moveHighlight(int step)
{
    const QList<QTreeWidgetItem *> items = visibleAccounts();
    if (items.isEmpty())
        return;
    const qsizetype at = items.indexOf(m_tree->currentItem());
    const qsizetype next =
        at < 0 ? (step > 0 ? 0 : items.size() - 1) : qBound<qsizetype>(0, at + step, items.size() - 1);
    m_tree->setCurrentItem(items.at(next));
    m_tree->scrollToItem(items.at(next));
}

bool AccountPicker::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return QFrame::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const bool typing = !key->text().isEmpty() && key->text().at(0).isPrint() &&
                        !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    // While the picker has the focus its keys are its own, not the window's.
    const bool own = typing || isOneOf(key->key(), {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right,
                                                    Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End,
                                                    Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape});
    if (event->type() == QEvent::ShortcutOverride) {
        if (own)
            event->accept();
        return own;
    }
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        accept();
        return true;
    case Qt::Key_Escape:
        cancel();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (watched == m_filter) {
            moveHighlight(key->key() == Qt::Key_Down ? 1 : -1);
            return true;
        }
        break;
    default:
        if (watched == m_tree && typing) {
            // Typing on the tree goes on in the filter box.
            m_filter->setFocus(Qt::OtherFocusReason);
            m_filter->insert(key->text());
            return true;
        }
        break;
    }
    return QFrame::eventFilter(watched, event);
}

void AccountPicker::accept()
{
    QTreeWidgetItem *item = m_tree->currentItem();
    if (!item || !item->isSelected() || !item->parent() || item->isHidden()) {
        messages::inform(this, u"请选择相应科目分类中的子顶...."_s, u"信息提示"_s);
        return;
    }
    if (m_target)
        m_target->setText(item->text(0));
    hide();
    if (m_target)
        m_target->setFocus(Qt::OtherFocusReason);
}

void AccountPicker::cancel()
{
    hide();
    if (m_target)
        m_target->setFocus(Qt::OtherFocusReason);
}
