#include "windows/ui/loginsettingswindow.h"

#include "db/connection.h"
#include "db/sql.h"
#include "shell/apppaths.h"
#include "shell/ui/messages.h"
#include "shell/ui/skin.h"
#include "windows/useraccount.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

using namespace Qt::StringLiterals;

namespace {

const QColor kEnabled(0xFF, 0xFF, 0xFF);
const QColor kDisabled(0xC0, 0xC0, 0xC0);

template <typename T> T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

void colour(QLineEdit *box, const QColor &c)
{
    QPalette p = box->palette();
    p.setColor(QPalette::Base, c);
    box->setPalette(p);
}

} // namespace

LoginSettingsWindow::LoginSettingsWindow(const QString &userLogon, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(u"m_config"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"系统设置"_s);
    setFixedSize(409, 234);
    setStyleSheet(u"#m_config{background:#FFFBF0}"_s);
    setAttribute(Qt::WA_StyledBackground);

    auto *background = named(new QLabel(this), u"Image1"_s);
    background->setGeometry(rect());
    background->setScaledContents(true);
    background->setPixmap(skin::picture(u"skin/bg20.bmp"_s));

    m_switch = named(new QCheckBox(u"设置用户登陆"_s, this), u"CheckBox1"_s);
    m_switch->setGeometry(40, 26, 200, 22);
    auto *nameLabel = named(new QLabel(u"用户名:"_s, this), u"Label1"_s);
    nameLabel->setGeometry(60, 64, 60, 22);
    m_name = named(new QLineEdit(this), u"Edit1"_s);
    m_name->setGeometry(124, 64, 180, 22);
    nameLabel->setBuddy(m_name);
    auto *passwordLabel = named(new QLabel(u"密码:"_s, this), u"Label2"_s);
    passwordLabel->setGeometry(60, 96, 60, 22);
    m_password = named(new QLineEdit(this), u"Edit2"_s);
    m_password->setGeometry(124, 96, 180, 22);
    passwordLabel->setBuddy(m_password);
    m_name->setAccessibleName(u"用户名"_s);
    m_password->setAccessibleName(u"密码"_s);

    int top = 134;
    for (const auto &[name, note] :
         {std::pair{u"Label3"_s, u"注意：此设置为了防止别人恶意登陆，扰乱您的正常学习评估，"_s},
          std::pair{u"Label4"_s, u"但若密码丢失，则无法找回，请谨慎设置！"_s}}) {
        auto *label = named(new QLabel(note, this), name);
        label->setStyleSheet(u"color:#FF0000;background:transparent"_s);
        label->setGeometry(12, top, 395, 20);
        top += 22;
    }

    auto *quit = named(new QPushButton(u"退出"_s, this), u"Button1"_s);
    quit->setGeometry(222, 194, 80, 28);
    auto *apply = named(new QPushButton(u"应用"_s, this), u"Button2"_s);
    apply->setGeometry(312, 194, 80, 28);
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
    connect(apply, &QPushButton::clicked, this, &LoginSettingsWindow::apply);
    connect(m_switch, &QCheckBox::toggled, this, &LoginSettingsWindow::setBoxesEnabled);

    m_switch->setChecked(userLogon != u"F");
    setBoxesEnabled(m_switch->isChecked());

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void LoginSettingsWindow::setBoxesEnabled(bool on)
{
    for (QLineEdit *box : {m_name, m_password}) {
        colour(box, on ? kEnabled : kDisabled);
        box->setEnabled(on);
    }
}

void LoginSettingsWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    if (!m_switch->isChecked()) {
        m_name->clear();
        m_password->clear();
        setBoxesEnabled(false);
        return;
    }
    try {
        const auto stored = account::stored(db::bank());
        m_name->setText(stored ? stored->name : QString());
        m_password->setText(stored ? stored->password : QString());
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
    }
    setBoxesEnabled(true);
}

void LoginSettingsWindow::apply()
{
    const bool on = m_switch->isChecked();
    // The account first: a login switched on without its account would lock the learner out.
    if (on) {
        try {
            account::store(db::bank(), {m_name->text(), m_password->text()});
        } catch (const db::Error &e) {
            messages::inform(this, e.message(), u"错误信息"_s);
            return;
        }
    }
    QString error;
    if (!account::writeLoginSwitch(AppPaths::current(), on, &error)) {
        messages::inform(this, u"main.ini: "_s + error, u"错误信息"_s);
        return;
    }
    messages::inform(this, u"            成功修改...             "_s, u"信息提示"_s);
}
