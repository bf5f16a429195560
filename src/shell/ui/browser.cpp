#include "shell/ui/browser.h"

#include "text/netprobe.h"

#include <QChildEvent>
#include <QFileInfo>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {
// Chromium's code for a navigation that was cancelled, e.g. by the next one.
constexpr int kAborted = -3;
} // namespace

Browser::Browser(const QString &objectName, QWidget *parent) : QWidget(parent)
{
    setObjectName(objectName);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void Browser::ensureView()
{
    if (m_view)
        return;
    m_view = new QWebEngineView(this);
    m_view->installEventFilter(this);
    // Chromium's own error pages are English and technical: a failed page gets a short one of ours.
    m_view->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    connect(m_view->page(), &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
        // An aborted load was replaced by a later navigation; the error page itself is never replaced.
        if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus && info.errorCode() != kAborted && !m_showsError)
            showError(info.errorString());
    });
    layout()->addWidget(m_view);
}

void Browser::showError(const QString &reason)
{
    m_showsError = true;
    const QString address = m_url.isLocalFile() ? m_url.toLocalFile() : m_url.toString();
    m_view->setHtml(u"<html><head><meta charset=\"utf-8\"><title>页面无法打开</title></head>"
                    "<body style=\"font-family:sans-serif;margin:40px;color:#333\">"
                    "<h3>页面无法打开</h3><p>%1</p><p style=\"color:#888\">%2</p>"
                    "<p>请检查网络连接或地址是否正确,稍后再试。</p></body></html>"_s.arg(address.toHtmlEscaped(),
                                                                                         reason.toHtmlEscaped()));
    Q_EMIT loadFailed(m_url, reason);
}

void Browser::navigate(const QString &addressOrFile)
{
    const QFileInfo file(addressOrFile);
    m_url = file.isAbsolute() ? QUrl::fromLocalFile(addressOrFile) : QUrl(text::withScheme(addressOrFile));
    ensureView();
    m_view->setContextMenuPolicy(m_swallowRightButton ? Qt::NoContextMenu : Qt::DefaultContextMenu);
    m_showsError = false;
    m_view->load(m_url);
    Q_EMIT navigated(m_url);
}

bool Browser::eventFilter(QObject *watched, QEvent *event)
{
    // The page's input widget is a child that the view creates later: watch it once it appears.
    if (event->type() == QEvent::ChildAdded) {
        if (auto *child = static_cast<QChildEvent *>(event)->child(); child && child->isWidgetType())
            child->installEventFilter(this);
    }
    if (m_swallowRightButton) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::RightButton)
                return true;
            break;
        case QEvent::ContextMenu:
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
