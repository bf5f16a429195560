#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The start-up login (Tuser_lo): accepts only the name and password stored in user_logon, or, on a
// training centre's server, the learner whose password the server accepts; that login opens the
// bank. The opener runs it modally; it is accepted on a good login and rejected when the learner
// confirms that he wants to leave the program. Closing it by the window's own means asks the same
// question.
class LoginWindow final : public QDialog
{
    Q_OBJECT
public:
    explicit LoginWindow(QWidget *parent = nullptr);

    void setHeadline(const QString &text);
    // The learner logs in to the server of main.ini: an accepted login leaves the bank open as him
    // under connectionName. The line under the boxes names the server.
    void setServer(const QString &connectionName, const QString &serverName);

public Q_SLOTS:
    // "登陆": checks the typed name and password against user_logon.
    void login();
    // "取消", Escape and the close command: asks before leaving the program.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool serverLogin();
    void refuse(const QString &reason);

private:
    QLabel *m_headline = nullptr;    // Label1
    QLineEdit *m_name = nullptr;     // Edit1
    QLineEdit *m_password = nullptr; // Edit2
    QLabel *m_serverLine = nullptr;  // Label4, shown in server mode
    QString m_connection;            // empty: the user_logon account
};
