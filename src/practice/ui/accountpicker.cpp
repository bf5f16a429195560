#include "practice/ui/accountpicker.h"

#include "practice/chartofaccounts.h"
#include "shell/ui/messages.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

AccountPicker::AccountPicker(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(u"accountPicker"_s);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setFixedSize(300, 420);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(u"accountTree"_s);
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (const practice::AccountCategory &category : practice::chartOfAccounts()) {
        auto *node = new QTreeWidgetItem(m_tree, {category.name});
        for (const QString &account : category.accounts)
            new QTreeWidgetItem(node, {account});
    }
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
    connect(cancel, &QPushButton::clicked, this, &QWidget::hide);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    layout->addLayout(buttons);
    hide();
}

void AccountPicker::openFor(QLineEdit *target)
{
    m_target = target;
    if (QWidget *p = parentWidget())
        move((p->width() - width()) / 2, qMax(0, (p->height() - height()) / 2));
    show();
    raise();
    m_tree->setFocus();
}

void AccountPicker::accept()
{
    QTreeWidgetItem *item = m_tree->currentItem();
    if (!item || !item->isSelected() || !item->parent()) {
        messages::inform(this, u"请选择相应科目分类中的子顶...."_s, u"信息提示"_s);
        return;
    }
    if (m_target)
        m_target->setText(item->text(0));
    hide();
}
