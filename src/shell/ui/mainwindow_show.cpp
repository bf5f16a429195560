// The main window's first show, its geometry, caption buttons and dragging.
#include "shell/ui/mainwindow.h"

#include "db/connection.h"
#include "db/server.h"
#include "db/sql.h"
#include "shell/apppaths.h"
#include "shell/ui/browser.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/messages.h"
#include "text/netprobe.h"
#include "update/ui/updatechecker.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSqlQuery>
#include <QStatusBar>
#include <QToolButton>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {
constexpr int kBorder = 2;
constexpr int kTitleHeight = 33;
constexpr int kNavHeight = 81;
constexpr int kStatusHeight = 22;
} // namespace

bool MainWindow::firstShow()
{
    if (m_firstShowDone)
        return true;
    m_firstShowDone = true;

    if (m_display) {
        m_savedScreen = m_display->current();
        if (m_savedScreen.isValid() && m_savedScreen.height() < 768) {
            m_displayChanged = true;
            m_display->set(QSize(1024, 768));
        }
    }
    bringToFront(panel(u"Panel2"_s));
    // Nothing shows in the home browser until a page is loaded.
    m_wb1->move(m_savedScreen.width() + 10, 0);

    if (!m_configErrors.isEmpty())
        messages::inform(this, m_configErrors.join(u'\n'), u"错误信息"_s);

    // A malformed [server] must not send the learner's records to the file on this computer.
    QString error;
    const db::ServerConfig server = db::readServerConfig(AppPaths::current(), &error);
    if (!error.isEmpty()) {
        qWarning("question bank: %s", qPrintable(error));
        messages::inform(this, error, u"错误信息"_s);
        messages::inform(this, u"连接题库严重出错,请重新启动计算机再次尝试本程序......"_s, u"错误警告提示"_s);
        return false;
    }
    if (server.configured()) {
        // Nothing reads the bank before the learner is known: the login opens it as him.
        if (!askLogin(u"%1 (%2)"_s.arg(server.host, server.database))) {
            m_exitCode = 0;
            return false;
        }
    } else if (!db::openBank(db::bankPath(AppPaths::current()), QString::fromLatin1(db::kMainConnection), &error)) {
        qWarning("question bank: %s", qPrintable(error));
        messages::inform(this, u"连接题库严重出错,请重新启动计算机再次尝试本程序......"_s, u"错误警告提示"_s);
        return false;
    }
    QCoreApplication::processEvents();

    m_online = m_onlineProbe ? m_onlineProbe() : text::isOnline();
    if (m_online) {
        if (m_config.newsUrl != u"no") {
            m_wb1->setGeometry(panel(u"Panel2"_s)->rect());
            m_wb1->show();
            m_wb1->raise();
            m_wb1->navigate(m_config.newsUrl);
        }
        setStatus(0, u"已联网...."_s);
        setStatus(2, u"正在检查更新状态...."_s);
        m_updateChecker->start();
    } else {
        setStatus(0, u"Quillmark 出品"_s);
        setStatus(2, u"当前未联网,无法检查是否有最新题库...."_s);
    }
    placeHomeTexts();
    if (!server.configured() && m_config.loginRequired() && !askLogin()) {
        m_exitCode = 0;
        return false;
    }
    Q_EMIT firstShown();
    return true;
}

void MainWindow::placeHomeTexts()
{
    QWidget *home = panel(u"Panel2"_s);
    try {
        QSqlQuery q = db::run(db::bank(), u"select * from soft_text"_s);
        int n = 0;
        while (q.next()) {
            auto *label = new QLabel(q.value(0).toString(), home);
            label->setObjectName(u"sla%1"_s.arg(n++));
            label->setAttribute(Qt::WA_TranslucentBackground);
            label->setStyleSheet(u"background:transparent;color:#1d3f73"_s);
            label->adjustSize();
            label->move(q.value(1).toInt(), q.value(2).toInt());
            // The news page covers the home texts when it is shown.
            label->stackUnder(m_wb1);
            label->show();
        }
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
    }
}

void MainWindow::setStatus(int index, const QString &text)
{
    m_statusPanels.at(index)->setText(text);
}

QString MainWindow::statusText(int index) const
{
    return m_statusPanels.value(index) ? m_statusPanels.at(index)->text() : QString();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutFrame();
}

void MainWindow::layoutFrame()
{
    const int w = width();
    const int h = height();
    m_frame->setGeometry(rect());
    const int inner = w - 2 * kBorder;
    m_titleBar->setGeometry(kBorder, kBorder, inner, kTitleHeight);
    m_titleImage->setGeometry(m_titleBar->rect());
    // Caption buttons stay anchored to the right edge.
    m_closeButton->move(w - m_closeButton->width() - 5 - kBorder, 0);
    m_maxButton->move(m_closeButton->x() - m_maxButton->width(), 0);
    m_minButton->move(m_maxButton->x() - m_minButton->width(), 0);

    findChild<QLabel *>(u"Panel1"_s)->setGeometry(kBorder, kBorder + kTitleHeight, inner, kNavHeight);
    const int areaTop = kBorder + kTitleHeight + kNavHeight;
    const int areaHeight = h - areaTop - kStatusHeight - kBorder;
    m_area->setGeometry(kBorder, areaTop, inner, areaHeight);
    for (QWidget *p : std::as_const(m_panels))
        p->setGeometry(m_area->rect());
    QWidget *status = findChild<QWidget *>(u"Panel5"_s);
    status->setGeometry(kBorder, h - kBorder - kStatusHeight, inner, kStatusHeight);
    m_statusBar->setGeometry(status->rect());

    QWidget *home = panel(u"Panel2"_s);
    home->findChild<QLabel *>(u"Image2"_s)->setGeometry(home->rect());
    // Headline and sub-headline are centred across the full width.
    m_headline->setGeometry(0, 70, home->width(), 70);
    m_subHeadline->setGeometry(0, 150, home->width(), 36);
    if (m_wb1->isVisible() && m_wb1->x() < home->width())
        m_wb1->setGeometry(home->rect());
    for (QWidget *notice : {m_waitOpening, m_waitBuilding})
        notice->move((w - notice->width()) / 2, (h - notice->height()) / 2);
}

void MainWindow::toggleMaximised()
{
    const bool toMax = !isMaximized();
    if (toMax)
        showMaximized();
    else
        showNormal();
    m_maxButton->setIcon(QIcon(programFile(toMax ? u"skin/spx1.bmp"_s : u"skin/spx.bmp"_s)));
    m_maxButton->setProperty("glyph", toMax ? u"skin/spx1.bmp"_s : u"skin/spx.bmp"_s);
    m_maxButton->setAccessibleName(toMax ? u"还原"_s : u"最大化"_s);
    layoutFrame();
    // The session panels lay out their buttons from the width: let them rebuild.
    QWidget *front = frontPanel();
    if (front == panel(u"Panel6"_s))
        Q_EMIT chapterPracticeRequested();
    else if (front == panel(u"Panel9"_s))
        Q_EMIT mockExamRequested();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Dragging the window by its title image or by the session-build wait notice.
    if (watched == m_titleImage || watched == m_waitBuilding) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            m_manualDrag = !(windowHandle() && windowHandle()->startSystemMove());
            m_dragOffset = mouse->globalPosition().toPoint() - frameGeometry().topLeft();
            return true;
        }
        case QEvent::MouseMove: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (m_manualDrag && (mouse->buttons() & Qt::LeftButton)) {
                move(mouse->globalPosition().toPoint() - m_dragOffset);
                return true;
            }
            break;
        }
        case QEvent::MouseButtonRelease:
            m_manualDrag = false;
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
