#pragma once

#include <QFrame>

class QLineEdit;
class QTreeWidget;

// The account picker of the answer editor: the fixed chart of accounts as a read-only tree with
// "确定" and "取消". It fills the account box it was opened for (account_target).
// Object names: accountPicker, accountTree, accountOk, accountCancel.
class AccountPicker final : public QFrame
{
    Q_OBJECT
public:
    explicit AccountPicker(QWidget *parent = nullptr);

    // Shows the picker for target, centred over the parent.
    void openFor(QLineEdit *target);
    QLineEdit *target() const { return m_target; }

    // "确定": an account fills the target and closes the picker; a category or nothing gives a message.
    void accept();

private:
    QTreeWidget *m_tree = nullptr;
    QLineEdit *m_target = nullptr;
};
