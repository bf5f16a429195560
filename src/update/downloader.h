#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

namespace update {
// What both downloaders send: no cache, only safe redirects, the given time-out without data.
QNetworkRequest downloadRequest(const QUrl &url, int timeoutMs);
// Why a finished transfer of `received` bytes does not count (empty when it does): a network error,
// an answer outside 2xx (no status at all is accepted when allowNoStatus), or fewer bytes than
// announced. Uses the reply's own address.
QString transferError(const QNetworkReply *reply, qint64 received, bool allowNoStatus);
} // namespace update

// Downloads one address into one file. The file is written through QSaveFile and replaced only
// when the transfer completed with a 2xx answer: a 404, a time-out or a connection that breaks
// off leaves the old file as it was. fetch() blocks in a local event loop, so windows keep
// painting while it waits.
class Downloader final : public QObject
{
    Q_OBJECT
public:
    explicit Downloader(QObject *parent = nullptr);
    ~Downloader() override;

    // No data for this long ends the transfer with an error.
    void setTimeoutMs(int ms) { m_timeoutMs = ms; }

    // Fetches url into targetPath, creating missing folders. On failure returns false and sets error.
    bool fetch(const QUrl &url, const QString &targetPath, QString *error);

Q_SIGNALS:
    // Begin, progress and end of a transfer; total is -1 when the server did not say.
    void started(qint64 total);
    void progress(qint64 received, qint64 total);
    void finished();

private:
    Q_DISABLE_COPY_MOVE(Downloader)
    QNetworkAccessManager *m_manager;
    int m_timeoutMs = 30000;
};
