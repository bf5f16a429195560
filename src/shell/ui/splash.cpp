#include "shell/ui/splash.h"

#include "shell/ui/skin.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

using namespace Qt::StringLiterals;

Splash::Splash(const QString &title)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(u"flash"_s);
    setFixedSize(454, 245);
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto *picture = new QLabel(this);
    picture->setObjectName(u"Image1"_s);
    picture->setGeometry(rect());
    picture->setScaledContents(true);
    picture->setPixmap(skin::picture(u"skin/bg11.bmp"_s));
    picture->setStyleSheet(u"background:#1f4e8c"_s);

    auto *titleLabel = new QLabel(title, this);
    titleLabel->setObjectName(u"Label1"_s);
    QFont f(u"黑体"_s);
    f.setPixelSize(27);
    titleLabel->setFont(f);
    titleLabel->setStyleSheet(u"color:#1d3f73;background:transparent"_s);
    titleLabel->setGeometry(24, 70, 406, 44);

    auto *version = new QLabel(u"V 1.0"_s, this);
    version->setObjectName(u"Label2"_s);
    version->setStyleSheet(u"color:#4a6d9c;background:transparent"_s);
    version->setGeometry(24, 118, 200, 20);

    m_status = new QLabel(u"请稍等,正在启动程序..."_s, this);
    m_status->setObjectName(u"Label3"_s);
    m_status->setStyleSheet(u"color:white;background:rgba(0,0,0,90);padding-left:12px"_s);
    m_status->setGeometry(0, height() - 40, width(), 40);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void Splash::setStatus(const QString &text)
{
    m_status->setText(text);
    m_status->repaint();
}

QString Splash::status() const
{
    return m_status->text();
}
