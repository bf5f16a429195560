#include "windows/ui/infopopup.h"

#include "shell/ui/skin.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShowEvent>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

constexpr int kWidth = 317;
constexpr int kHeight = 221;
constexpr int kStripHeight = 32;
constexpr int kLineHeight = 15;
constexpr int kSeconds = 20;

QLabel *picture(const QPixmap &pixmap, const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setScaledContents(true);
    label->setPixmap(pixmap);
    label->setGeometry(parent->rect());
    return label;
}

// 15 pixels for every line of the text as wrapped at width; more where the glyphs need more, so that
// no line is cut off.
int textHeight(const QString &text, const QFont &font, int width)
{
    QString lines = text;
    lines.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(lines, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    int count = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        ++count;
    }
    layout.endLayout();
    const int needed = QFontMetrics(font).boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, text).height();
    return qMax(kLineHeight * qMax(1, count), needed);
}

} // namespace

InfoPopup::InfoPopup(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
    , m_opener([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
    setObjectName(u"ad_page"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    // A notice still counting down does not keep the program running once the main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(u"信息提示窗"_s);
    setFixedSize(kWidth, kHeight);
    QFont f(u"宋体"_s);
    f.setPixelSize(13);
    setFont(f);

    auto *content = new QWidget(this);
    content->setObjectName(u"Panel1"_s);
    content->setGeometry(0, 0, kWidth, kHeight - kStripHeight);
    content->setStyleSheet(u"#Panel1{background:#FFFBF0}"_s);
    content->setAttribute(Qt::WA_StyledBackground);
    picture(skin::picture(u"skin/pop.bmp"_s), u"Image1"_s, content);
    m_memo = new QPlainTextEdit(content);
    m_memo->setObjectName(u"Memo1"_s);
    m_memo->setGeometry(5, 5, kWidth - 15, content->height() - 10);
    m_memo->hide();
    m_text = new QLabel(content);
    m_text->setObjectName(u"Label1"_s);
    m_text->setAttribute(Qt::WA_TranslucentBackground);
    m_text->setStyleSheet(u"background:transparent;color:#1d3f73"_s);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *strip = new QWidget(this);
    strip->setObjectName(u"Panel2"_s);
    strip->setGeometry(0, kHeight - kStripHeight, kWidth, kStripHeight);
    strip->setStyleSheet(u"#Panel2{background:white}"_s);
    strip->setAttribute(Qt::WA_StyledBackground);
    picture(skin::picture(u"skin/bg16-2.bmp"_s), u"Image2"_s, strip);
    m_more = new QToolButton(strip);
    m_more->setObjectName(u"SpeedButton1"_s);
    m_more->setText(u"详细内容.."_s);
    m_more->setAccessibleName(u"详细内容.."_s);
    m_more->setIcon(skin::picture(u"skin/st01.bmp"_s));
    m_more->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_more->setAutoRaise(true);
    m_more->setCursor(Qt::PointingHandCursor);
    QFont heavy(u"黑体"_s);
    heavy.setPixelSize(16);
    m_more->setFont(heavy);
    m_more->setGeometry(kWidth - 98 - 8, (kStripHeight - 25) / 2, 98, 25);
    connect(m_more, &QToolButton::clicked, this, &InfoPopup::openAddress);

    m_slide = new QTimer(this);
    m_slide->setObjectName(u"Timer2"_s);
    m_slide->setInterval(100);
    connect(m_slide, &QTimer::timeout, this, &InfoPopup::slideTick);
    m_countdown = new QTimer(this);
    m_countdown->setObjectName(u"Timer1"_s);
    m_countdown->setInterval(1000);
    connect(m_countdown, &QTimer::timeout, this, &InfoPopup::countdownTick);

    const QScreen *screen = QGuiApplication::primaryScreen();
    setScreenSize(screen ? screen->geometry().size() : QSize(1024, 768));
}

void InfoPopup::setScreenSize(const QSize &size)
{
    m_screen = size;
    // Almost entirely below the bottom edge: it slides up from there.
    move(m_screen.width() - kWidth - 10, m_screen.height() - 50);
}

void InfoPopup::setNotice(const QString &text, const QString &address)
{
    m_memo->setPlainText(text);
    const int width = m_memo->width() - 5;
    m_text->setGeometry(5, 5, width, textHeight(text, m_text->font(), width));
    m_more->setToolTip(address);
}

QString InfoPopup::address() const
{
    return m_more->toolTip();
}

void InfoPopup::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    m_text->setText(m_memo->toPlainText());
    m_slide->start();
    m_countdown->start();
    m_more->setEnabled(!address().isEmpty());
}

void InfoPopup::slideTick()
{
    if (y() < m_screen.height() - kHeight - 40) {
        m_slide->stop();
        return;
    }
    move(x(), y() - 3);
}

void InfoPopup::countdownTick()
{
    if (m_ticks == kSeconds) {
        m_countdown->stop();
        close();
        return;
    }
    setWindowTitle(u"信息提示窗(%1)"_s.arg(kSeconds - m_ticks));
    ++m_ticks;
}

void InfoPopup::openAddress()
{
    const QString address = this->address();
    if (!address.isEmpty())
        m_opener(QUrl::fromUserInput(address));
}
