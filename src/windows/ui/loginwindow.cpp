#include "windows/ui/loginwindow.h"

#include "db/connection.h"
#include "db/sql.h"
#include "shell/apppaths.h"
#include "shell/ui/messages.h"
#include "shell/ui/skin.h"
#include "windows/useraccount.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

using namespace Qt::StringLiterals;

namespace {

constexpr int kWidth = 430;
constexpr int kHeight = 220;
constexpr int kPictureWidth = 130;

template <typename T> T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

} // namespace

LoginWindow::LoginWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(u"user_lo"_s);
    setWindowTitle(u"登陆窗口"_s);
    setFixedSize(kWidth, kHeight);
    setStyleSheet(u"#user_lo{background:#FFFBF0}"_s);
    setAttribute(Qt::WA_StyledBackground);

    auto *picture = named(new QLabel(this), u"Image1"_s);
    picture->setGeometry(0, 0, kPictureWidth, kHeight);
    picture->setScaledContents(true);
    picture->setPixmap(skin::picture(u"skin/user_lo.bmp"_s));

    m_headline = named(new QLabel(this), u"Label1"_s);
    QFont serif(u"宋体"_s);
    serif.setPixelSize(27);
    m_headline->setFont(serif);
    m_headline->setAlignment(Qt::AlignCenter);
    m_headline->setStyleSheet(u"color:#1d3f73"_s);
    m_headline->setGeometry(kPictureWidth, 18, kWidth - kPictureWidth, 40);

    const int left = kPictureWidth + 30;
    auto *nameLabel = named(new QLabel(u"用户名:"_s, this), u"Label2"_s);
    nameLabel->setGeometry(left, 80, 60, 24);
    m_name = named(new QLineEdit(this), u"Edit1"_s);
    m_name->setGeometry(left + 64, 80, 180, 24);
    nameLabel->setBuddy(m_name);
    auto *passwordLabel = named(new QLabel(u"密码:"_s, this), u"Label3"_s);
    passwordLabel->setGeometry(left, 116, 60, 24);
    m_password = named(new QLineEdit(this), u"Edit2"_s);
    m_password->setGeometry(left + 64, 116, 180, 24);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setStyleSheet(u"lineedit-password-character: 42"_s); // "*" for every character
    passwordLabel->setBuddy(m_password);
    m_name->setAccessibleName(u"用户名"_s);
    m_password->setAccessibleName(u"密码"_s);

    m_serverLine = named(new QLabel(this), u"Label4"_s);
    m_serverLine->setGeometry(left, 142, kWidth - left - 10, 18);
    QFont small = m_serverLine->font();
    small.setPixelSize(12);
    m_serverLine->setFont(small);
    m_serverLine->setStyleSheet(u"color:#5a6b80"_s);
    m_serverLine->hide();

    auto *ok = named(new QPushButton(u"登陆"_s, this), u"Button1"_s);
    ok->setGeometry(left + 64, 164, 80, 28);
    ok->setDefault(true);
    auto *cancel = named(new QPushButton(u"取消"_s, this), u"Button2"_s);
    cancel->setGeometry(left + 164, 164, 80, 28);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &LoginWindow::login);
    connect(cancel, &QPushButton::clicked, this, &LoginWindow::reject);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void LoginWindow::setHeadline(const QString &text)
{
    m_headline->setText(text);
}

void LoginWindow::setServer(const QString &connectionName, const QString &serverName)
{
    m_connection = connectionName;
    // A socket folder or a long name is shortened in the middle; the whole stays in the tooltip.
    const QString line = u"培训中心服务器: "_s + serverName;
    m_serverLine->setText(m_serverLine->fontMetrics().elidedText(line, Qt::ElideMiddle, m_serverLine->width()));
    m_serverLine->setToolTip(line);
    m_serverLine->setVisible(!connectionName.isEmpty());
}

void LoginWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    m_name->clear();
    m_password->clear();
    m_name->setFocus();
}

void LoginWindow::login()
{
    if (!m_connection.isEmpty()) {
        if (serverLogin())
            accept();
        return;
    }
    try {
        if (account::matches(db::bank(), m_name->text(), m_password->text())) {
            accept();
            return;
        }
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    refuse(u"错误用户名或是密码,请重新输入...\r\n\n如果您是本机使用用户,请勿操作,以免影响该机学习计划"_s);
}

bool LoginWindow::serverLogin()
{
    const db::Login login{m_name->text(), m_password->text()};
    QString error;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool opened = db::openConfigured(AppPaths::current(), m_connection, &error, &login);
    QGuiApplication::restoreOverrideCursor();
    if (!opened)
        refuse(error);
    return opened;
}

void LoginWindow::refuse(const QString &reason)
{
    messages::inform(this, reason, u"警告信息"_s);
    m_name->selectAll();
    m_name->setFocus();
}

void LoginWindow::reject()
{
    if (messages::askYesNo(this, u"确定退出程序吗..."_s, u"提示信息"_s))
        QDialog::reject();
}
