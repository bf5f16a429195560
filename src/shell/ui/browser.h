#pragma once

#include <QUrl>
#include <QWidget>

class QWebEngineView;

// An embedded browser (wb1, wb3, wb4, wb6). The web engine view inside is created on the first
// navigation only: every view costs a renderer process.
class Browser final : public QWidget
{
    Q_OBJECT
public:
    explicit Browser(const QString &objectName, QWidget *parent = nullptr);

    // A web address, or a file of the program folder given as an absolute path.
    void navigate(const QString &addressOrFile);
    QUrl url() const { return m_url; }
    bool hasView() const { return m_view != nullptr; }
    // The last navigation failed and the browser shows a short page saying so.
    bool showsError() const { return m_showsError; }
    QWebEngineView *view() const { return m_view; }

    // Right-button presses, releases and double-clicks inside the page are swallowed (no context menu).
    void setRightButtonSwallowed(bool on) { m_swallowRightButton = on; }
    bool rightButtonSwallowed() const { return m_swallowRightButton; }

    bool eventFilter(QObject *watched, QEvent *event) override;

Q_SIGNALS:
    void navigated(const QUrl &url);
    // The page of the last navigation could not be loaded (after the error page is in place).
    void loadFailed(const QUrl &url, const QString &reason);

private:
    void ensureView();
    void showError(const QString &reason);
    QWebEngineView *m_view = nullptr;
    QUrl m_url;
    bool m_swallowRightButton = false;
    bool m_showsError = false;
};
