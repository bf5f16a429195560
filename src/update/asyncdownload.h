#pragma once

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;

// Fetches one small file in the background and stores it only when it arrived whole with a 2xx
// answer; a failed transfer leaves an older copy of the file as it was. finished() comes from the
// event loop, never from inside start().
class AsyncDownload final : public QObject
{
    Q_OBJECT
public:
    explicit AsyncDownload(QObject *parent = nullptr);
    ~AsyncDownload() override;

    // No data for this long ends the transfer as failed.
    void setTimeoutMs(int ms) { m_timeoutMs = ms; }
    void start(const QUrl &url, const QString &targetPath);
    bool isRunning() const { return m_reply != nullptr; }
    void cancel();

Q_SIGNALS:
    void finished(bool ok, const QString &error);

private:
    Q_DISABLE_COPY_MOVE(AsyncDownload)
    void onFinished();
    void fail(const QString &error);

    QNetworkAccessManager *m_manager;
    QPointer<QNetworkReply> m_reply;
    QString m_target;
    int m_timeoutMs = 30000;
};
