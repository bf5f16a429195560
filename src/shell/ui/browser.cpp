#include "shell/ui/browser.h"

#include "text/netprobe.h"

#include <QChildEvent>
#include <QFileInfo>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWebEngineView>

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
    layout()->addWidget(m_view);
}

void Browser::navigate(const QString &addressOrFile)
{
    const QFileInfo file(addressOrFile);
    m_url = file.isAbsolute() ? QUrl::fromLocalFile(addressOrFile) : QUrl(text::withScheme(addressOrFile));
    ensureView();
    m_view->setContextMenuPolicy(m_swallowRightButton ? Qt::NoContextMenu : Qt::DefaultContextMenu);
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
