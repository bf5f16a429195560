#pragma once

#include <QFrame>

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

// The account picker of the answer editor: the fixed chart of accounts as a read-only tree with
// "确定" and "取消". It fills the account box it was opened for (account_target).
//
// From the keyboard: the box above the tree filters it as the learner types a part of an
// account's name or its number (the second column); ↑/↓ move the highlight, Enter takes the
// highlighted account, Esc closes; either way the focus goes back to the account box. What was
// typed stays in the filter box, and a key press on the tree goes on into it.
// Object names: accountPicker, accountFilter, accountTree, accountOk, accountCancel.
class AccountPicker final : public QFrame
{
    Q_OBJECT
public:
    explicit AccountPicker(QWidget *parent = nullptr);

    // Shows the picker for target, centred over the parent, the tree filtered by typed.
    void openFor(QLineEdit *target, const QString &typed = {});
    QLineEdit *target() const { return m_target; }
    QLineEdit *filterBox() const { return m_filter; }

    // "确定": an account fills the target and closes the picker; a category or nothing gives a message.
    void accept();
    // "取消" and Esc: the account box keeps what it had.
    void cancel();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyFilter(const QString &typed);
    void moveHighlight(int step);
    QList<QTreeWidgetItem *> visibleAccounts() const;

    QLineEdit *m_filter = nullptr;
    QTreeWidget *m_tree = nullptr;
    QLineEdit *m_target = nullptr;
};
