#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;

// The login settings (Tm_config): switches the start-up login on or off and stores its name and
// password. The switch takes effect at the next start: the window starts from the value main.ini
// held when the program started, whatever was applied since.
class LoginSettingsWindow final : public QWidget
{
    Q_OBJECT
public:
    // userLogon: [config] user_logon as read at start-up.
    explicit LoginSettingsWindow(const QString &userLogon, QWidget *parent = nullptr);

public Q_SLOTS:
    // "应用": the account (when the login is on), then the switch in main.ini.
    void apply();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setBoxesEnabled(bool on);

    QCheckBox *m_switch = nullptr;   // CheckBox1
    QLineEdit *m_name = nullptr;     // Edit1
    QLineEdit *m_password = nullptr; // Edit2
};
