#include "content/ui/demopanel.h"

#include "content/contentlink.h"
#include "content/ui/contentpanels.h"
#include "practice/ui/skinbackground.h"
#include "shell/apppaths.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "shell/ui/skin.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QEvent>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QGraphicsVideoItem>
#include <QGraphicsView>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QPushButton>
#include <QResizeEvent>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

DemoPanel::DemoPanel(MainWindow *main, QWidget *panel14)
    : QWidget(panel14)
    , m_main(main)
{
    setObjectName(u"demos"_s);
    auto *outer = new QHBoxLayout(panel14);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(this);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(6);
    auto *box = new QGroupBox(u" 操作演示 "_s, this);
    box->setObjectName(u"demoBox"_s);
    box->setFixedWidth(240);
    m_install = content::entryButton(u"  安装演示"_s, u"SpeedButton47"_s, u"安装演示"_s, {}, box);
    m_usage = content::entryButton(u"  使用演示"_s, u"SpeedButton49"_s, u"使用演示"_s, {}, box);
    m_install->setGeometry(40, 45, 145, 33);
    m_usage->setGeometry(40, 90, 145, 33);
    connect(m_install, &QPushButton::clicked, this, [this] { play(u"1.wmv"_s); });
    connect(m_usage, &QPushButton::clicked, this, [this] { play(u"3.wmv"_s); });
    layout->addWidget(box);

    m_panel21 = new QWidget(this);
    m_panel21->setObjectName(u"Panel21"_s);
    m_panel21->installEventFilter(this);
    auto *playerLayout = new QVBoxLayout(m_panel21);
    playerLayout->setContentsMargins(0, 0, 0, 0);
    // A video item in a graphics view rather than a QVideoWidget: the latter's native child window
    // is destroyed when a web view first makes the main window switch its surface, and raising the
    // panel afterwards crashes.
    m_video = new QGraphicsView(m_panel21);
    m_video->setObjectName(u"mp1"_s);
    m_video->setAccessibleName(u"演示视频"_s);
    m_video->setFocusPolicy(Qt::StrongFocus);
    m_video->setFrameShape(QFrame::NoFrame);
    m_video->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_video->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_video->setBackgroundBrush(Qt::black);
    m_video->setScene(new QGraphicsScene(m_video));
    m_item = new QGraphicsVideoItem;
    m_video->scene()->addItem(m_item);
    playerLayout->addWidget(m_video);
    layout->addWidget(m_panel21, 1);

    createPlayer();
}

void DemoPanel::createPlayer()
{
    if (m_player) {
        // A player that failed is not trusted with the next file; its late signals are not wanted.
        m_player->disconnect(this);
        m_player->setVideoOutput(nullptr);
        m_player->setObjectName(QString());
        m_player->deleteLater();
    }
    m_player = new QMediaPlayer(this);
    m_player->setObjectName(u"mp1Player"_s);
    m_player->setVideoOutput(m_item);
    // Without an audio device the videos still play, silently.
    if (!QMediaDevices::defaultAudioOutput().isNull())
        m_player->setAudioOutput(new QAudioOutput(m_player));
    connect(m_player, &QMediaPlayer::errorOccurred, this, &DemoPanel::reportError);
    // A file without a usable demuxer or decoder may only say so through its status.
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::InvalidMedia)
            reportError();
    });
    m_main->setDemoPlayer(m_player);
}

void DemoPanel::open()
{
    m_main->bringToFront(parentWidget());
    skin::setBackground(findChild<QGroupBox *>(u"demoBox"_s), skin::picture(u"skin/bg16.bmp"_s));
    m_install->setIcon(QIcon(skin::picture(u"skin/reg.bmp"_s)));
    m_usage->setIcon(QIcon(skin::picture(u"skin/reg2.bmp"_s)));
}

void DemoPanel::play(const QString &file)
{
    const QString relative = u"mpg/"_s + file;
    // Found beside the program, whatever the working folder.
    const QString path = content::dataFile(AppPaths::current(), relative);
    m_playing.clear();
    m_player->stop();
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        messages::inform(m_main, u"演示文件不存在,无法播放:data/"_s + relative, u"错误信息"_s);
        return;
    }
    m_playing = u"data/"_s + relative;
    m_player->setSource(QUrl::fromLocalFile(path));
    m_player->play();
    m_video->setFocus();
}

void DemoPanel::reportError()
{
    // Reported once per video; the player is left stopped so another one can be chosen.
    if (m_playing.isEmpty())
        return;
    const QString video = std::exchange(m_playing, QString());
    const QString reason = m_player->errorString();
    m_player->stop();
    createPlayer();
    messages::inform(m_main, u"演示视频无法播放:"_s + video + (reason.isEmpty() ? QString() : u"\r\n"_s + reason),
                     u"错误信息"_s);
}

bool DemoPanel::eventFilter(QObject *watched, QEvent *event)
{
    // The picture fills the player, which keeps the focus whenever its container changes size.
    if (watched == m_panel21 && event->type() == QEvent::Resize) {
        const QSizeF size = static_cast<QResizeEvent *>(event)->size();
        m_video->scene()->setSceneRect(QRectF(QPointF(0, 0), size));
        m_item->setSize(size);
        if (m_video->isVisible())
            m_video->setFocus();
    }
    return QWidget::eventFilter(watched, event);
}
