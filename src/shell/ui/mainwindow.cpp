#include "shell/ui/mainwindow.h"

#include "content/ui/contentpanels.h"
#include "db/connection.h"
#include "db/questiontypes.h"
#include "db/sql.h"
#include "records/ui/reviewbuttons.h"
#include "records/ui/studypanel.h"
#include "session/ui/chapterpracticepanel.h"
#include "session/ui/mockexampanel.h"
#include "shell/apppaths.h"
#include "shell/clock.h"
#include "shell/ui/browser.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/messages.h"
#include "shell/ui/skin.h"
#include "shell/ui/waitnotice.h"
#include "text/netprobe.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMediaPlayer>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTitleHeight = 33;
constexpr int kCaptionButtonWidth = 57;

struct NavButton
{
    const char16_t *name;
    const char16_t *caption;
    const char16_t *glyph;
    const char16_t *panel; // nullptr: an action of its own
};

// Left to right as they stand in the navigation bar.
constexpr NavButton kNavButtons[] = {
    {u"SpeedButton1", u"登陆设置", u"skin/bg1.bmp", nullptr},
    {u"SpeedButton2", u"操作演示", u"skin/bg2.bmp", u"Panel14"},
    {u"SpeedButton3", u"章节练习", u"skin/bg3.bmp", u"Panel6"},
    {u"SpeedButton4", u"模拟考场", u"skin/bg4.bmp", u"Panel9"},
    {u"SpeedButton6", u"考试指南", u"skin/bg5.bmp", u"Panel10"},
    {u"SpeedButton5", u"课程讲义", u"skin/bg6.bmp", u"Panel11"},
    {u"SpeedButton8", u"答疑板 ", u"skin/bg7.bmp", nullptr},
    {u"SpeedButton9", u"学习进阶", u"skin/bg8.bmp", u"Panel8"},
    {u"SpeedButton7", u"帮助中心", u"skin/bg9.bmp", u"Panel13"},
};

// Stacking order at start: the home panel is created last, so it is in front.
constexpr const char16_t *kPanelNames[] = {u"Panel6",  u"Panel9",  u"Panel8",  u"Panel10",
                                           u"Panel11", u"Panel13", u"Panel14", u"Panel2"};

QString css(quint32 rgb)
{
    return u"#%1"_s.arg(rgb, 6, 16, QLatin1Char('0'));
}

} // namespace

MainWindow::MainWindow(DisplayMode *display, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_display(display)
{
    setObjectName(u"edu_main"_s);
    m_config = AppConfig::load(AppPaths::current(), Clock::instance().now().date(), &m_configErrors);
    QFont f(u"宋体"_s);
    f.setPixelSize(13);
    setFont(f);
    resize(981, 727);
    // No application display name: Qt would append it to every window and box title.
    setWindowTitle(titleText() + u"  Ver: 2.0.1.31"_s);
    buildFrame();
    loadSkin();

    // The contents of the chapter-practice and mock-exam panels.
    auto *chapters = new ChapterPracticePanel(this, panel(u"Panel6"_s));
    auto *exams = new MockExamPanel(this, panel(u"Panel9"_s));
    new ReviewButtons(this, chapters->resultPanel(), exams->resultPanel(), exams);
    buildUpdateCheck();
    content::installPanels(this);
    new StudyPanel(this, panel(u"Panel8"_s));

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow()
{
    if (m_displayChanged && m_display)
        m_display->set(m_savedScreen); // a failure here is of no consequence at exit
}

QString MainWindow::programFile(const QString &relative) const
{
    return AppPaths::current().file(relative);
}

QString MainWindow::titleText()
{
    return u"Quillmark"_s;
}

QString MainWindow::typeScoreLabel(int type)
{
    return db::typeScoreLabel(type);
}

void MainWindow::buildFrame()
{
    m_frame = new QWidget(this);
    m_frame->setObjectName(u"back_border"_s);
    m_frame->setAttribute(Qt::WA_StyledBackground);
    m_frame->setStyleSheet(u"#back_border{background:%1}"_s.arg(css(m_config.programFrame)));

    m_titleBar = new QWidget(m_frame);
    m_titleBar->setObjectName(u"Panel4"_s);
    m_titleImage = new QLabel(m_titleBar);
    m_titleImage->setObjectName(u"Image1"_s);
    m_titleImage->setScaledContents(true);
    m_titleImage->setStyleSheet(u"background:#1d3f73"_s);
    m_titleImage->installEventFilter(this);
    const auto captionButton = [this](const QString &name, const QString &hint) {
        auto *b = new QToolButton(m_titleBar);
        b->setObjectName(name);
        b->setToolTip(hint);
        b->setAutoRaise(true);
        b->setFixedSize(kCaptionButtonWidth, kTitleHeight);
        b->setIconSize(QSize(kCaptionButtonWidth, kTitleHeight));
        return b;
    };
    m_minButton = captionButton(u"SpeedButton12"_s, u"缩小程序到任务栏"_s);
    m_maxButton = captionButton(u"SpeedButton46"_s, u"程序最大化"_s);
    m_closeButton = captionButton(u"SpeedButton11"_s, u"关闭程序"_s);
    connect(m_minButton, &QToolButton::clicked, this, &QWidget::showMinimized);
    connect(m_maxButton, &QToolButton::clicked, this, &MainWindow::toggleMaximised);
    connect(m_closeButton, &QToolButton::clicked, this, &QWidget::close);

    auto *nav = new QLabel(m_frame);
    nav->setObjectName(u"Panel1"_s);
    buildNavigation(nav);

    m_area = new QWidget(m_frame);
    m_area->setObjectName(u"content"_s);
    buildPanels(m_area);

    auto *status = new QWidget(m_frame);
    status->setObjectName(u"Panel5"_s);
    buildStatusBar(status);

    m_waitOpening = new WaitNoticePanel(u"Panel3"_s, u"请稍等.正在打开..."_s, this);
    m_waitBuilding = new WaitNoticePanel(u"Panel7"_s, u"请稍等.正在配置题目选择库....."_s, this);
    m_waitBuilding->installEventFilter(this);
}

void MainWindow::buildNavigation(QWidget *bar)
{
    static_cast<QLabel *>(bar)->setScaledContents(true);
    bar->setStyleSheet(u"#Panel1{background:#2a5ea8}"_s);
    int k = 0;
    for (const NavButton &nb : kNavButtons) {
        auto *b = new QToolButton(bar);
        b->setObjectName(QString::fromUtf16(nb.name));
        b->setText(QString::fromUtf16(nb.caption));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setGeometry(16 + 80 * k++, 4, 81, 73);
        b->setIconSize(QSize(40, 40));
        b->setStyleSheet(u"QToolButton{color:white;border:none}QToolButton:hover{background:rgba(255,255,255,40)}"_s);
        const QString name = b->objectName();
        const QString target = nb.panel ? QString::fromUtf16(nb.panel) : QString();
        connect(b, &QToolButton::clicked, this, [this, name, target] {
            if (name == u"SpeedButton1") {
                openLoginSettings();
            } else if (name == u"SpeedButton8") {
                showQaBoard();
            } else if (!target.isEmpty()) {
                QWidget *p = panel(target);
                p->setVisible(true);
                bringToFront(p);
                if (target == u"Panel6")
                    Q_EMIT chapterPracticeRequested();
                else if (target == u"Panel9")
                    Q_EMIT mockExamRequested();
                else if (target == u"Panel8")
                    Q_EMIT studyProgressRequested();
            }
        });
    }
}

void MainWindow::buildPanels(QWidget *area)
{
    for (const char16_t *name : kPanelNames) {
        auto *p = new QWidget(area);
        p->setObjectName(QString::fromUtf16(name));
        p->setAttribute(Qt::WA_StyledBackground);
        p->setStyleSheet(u"#%1{background:#f4f7fb}"_s.arg(p->objectName()));
        m_panels.append(p);
    }
    panel(u"Panel6"_s)->hide();
    panel(u"Panel9"_s)->hide();

    QWidget *home = panel(u"Panel2"_s);
    auto *background = new QLabel(home);
    background->setObjectName(u"Image2"_s);
    background->setScaledContents(true);
    const auto headline = [home](const QString &text, const QString &name, const QString &family, int px,
                                 const QString &colour) {
        auto *label = new QLabel(text, home);
        label->setObjectName(name);
        QFont font(family);
        font.setPixelSize(px);
        label->setFont(font);
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(u"color:%1;background:transparent"_s.arg(colour));
        return label;
    };
    m_headline = headline(titleText(), u"Label3"_s, u"宋体"_s, 53, u"#1d3f73"_s);
    m_subHeadline = headline(u"Examination  System"_s, u"Label4"_s, u"Arial"_s, 27, u"#4a6d9c"_s);
    m_wb1 = new Browser(u"wb1"_s, home);
    m_wb1->hide();

    // The guide, handout and help browsers show no context menu.
    for (const auto &[name, owner] :
         {std::pair{u"wb3"_s, u"Panel10"_s}, {u"wb4"_s, u"Panel11"_s}, {u"wb6"_s, u"Panel13"_s}}) {
        auto *browser = new Browser(name, panel(owner));
        browser->setRightButtonSwallowed(true);
        browser->hide();
    }
}

void MainWindow::buildStatusBar(QWidget *bar)
{
    m_statusBar = new QStatusBar(bar);
    m_statusBar->setObjectName(u"sb1"_s);
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->setStyleSheet(
        u"QStatusBar{background:%1}QLabel{color:white;padding-left:4px;border-right:1px solid rgba(255,255,255,90)}"_s
            .arg(css(m_config.staticBarColor)));
    for (const int width : {200, 500, 50}) {
        auto *label = new QLabel(m_statusBar);
        label->setObjectName(u"sb1_panel%1"_s.arg(m_statusPanels.size()));
        if (m_statusPanels.size() < 2)
            label->setFixedWidth(width);
        else
            label->setMinimumWidth(width);
        // The last panel takes the rest of the bar, as status bars do.
        m_statusBar->addWidget(label, m_statusPanels.size() == 2 ? 1 : 0);
        m_statusPanels.append(label);
    }
}

void MainWindow::loadSkin()
{
    const auto pic = [this](const QString &relative) { return skin::picture(relative); };
    static_cast<QLabel *>(panel(u"Panel2"_s)->findChild<QLabel *>(u"Image2"_s))->setPixmap(pic(u"skin/bg.bmp"_s));
    for (const NavButton &nb : kNavButtons)
        findChild<QToolButton *>(QString::fromUtf16(nb.name))->setIcon(pic(QString::fromUtf16(nb.glyph)));
    m_minButton->setIcon(pic(u"skin/spm.bmp"_s));
    m_maxButton->setIcon(pic(u"skin/spx.bmp"_s));
    m_closeButton->setIcon(pic(u"skin/spc.bmp"_s));
    findChild<QLabel *>(u"Panel1"_s)->setPixmap(pic(u"skin/top.bmp"_s));
    m_titleImage->setPixmap(pic(u"skin/copy.bmp"_s));
}

QWidget *MainWindow::panel(const QString &name) const
{
    for (QWidget *p : m_panels) {
        if (p->objectName() == name)
            return p;
    }
    return nullptr;
}

void MainWindow::bringToFront(QWidget *p)
{
    if (!p)
        return;
    p->raise();
    onPanelChanged();
}

QWidget *MainWindow::frontPanel() const
{
    const QObjectList &children = m_area->children();
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        if (auto *w = qobject_cast<QWidget *>(*it); w && m_panels.contains(w))
            return w;
    }
    return nullptr;
}

void MainWindow::onPanelChanged()
{
    // Leaving a panel stops its media.
    const QString front = frontPanel() ? frontPanel()->objectName() : QString();
    if (front != u"Panel11" && m_mp2 && m_mp2->playbackState() == QMediaPlayer::PlayingState)
        m_mp2->stop();
    if (front != u"Panel14" && m_mp1 && m_mp1->playbackState() == QMediaPlayer::PlayingState)
        m_mp1->stop();
}

void MainWindow::showWaitNotice(WaitNotice which, bool shown)
{
    QWidget *notice = which == WaitNotice::Opening ? m_waitOpening : m_waitBuilding;
    notice->move((width() - notice->width()) / 2, (height() - notice->height()) / 2);
    notice->setVisible(shown);
    if (shown) {
        notice->raise();
        notice->repaint();
    }
}

bool MainWindow::checkOnline() const
{
    return m_onlineProbe ? m_onlineProbe() : text::isOnline();
}

void MainWindow::showQaBoard()
{
    showWaitNotice(WaitNotice::Opening, true);
    if (checkOnline()) {
        panel(u"Panel6"_s)->hide();
        QWidget *home = panel(u"Panel2"_s);
        bringToFront(home);
        m_wb1->setGeometry(home->rect());
        m_wb1->show();
        m_wb1->raise();
        if (m_config.anwserUrl != u"no")
            m_wb1->navigate(m_config.anwserUrl);
    } else {
        messages::inform(this, u"当前没有联网,无法进行互联网帮助....."_s, u"信息提醒"_s);
    }
    showWaitNotice(WaitNotice::Opening, false);
}
