#include "update/asyncdownload.h"

#include "update/downloader.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSaveFile>
#include <QTimer>

using namespace Qt::StringLiterals;

AsyncDownload::AsyncDownload(QObject *parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
{
}

AsyncDownload::~AsyncDownload()
{
    cancel();
}

void AsyncDownload::cancel()
{
    if (!m_reply)
        return;
    // An abandoned transfer reports nothing.
    m_reply->disconnect(this);
    m_reply->abort();
    m_reply->deleteLater();
    m_reply = nullptr;
}

void AsyncDownload::fail(const QString &error)
{
    // Callers expect the answer later, as from a real transfer.
    QTimer::singleShot(0, this, [this, error] { Q_EMIT finished(false, error); });
}

void AsyncDownload::start(const QUrl &url, const QString &targetPath)
{
    cancel();
    m_target = targetPath;
    if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty()) {
        fail(u"下载地址无效: "_s + url.toString());
        return;
    }
    m_reply = m_manager->get(update::downloadRequest(url, m_timeoutMs));
    connect(m_reply, &QNetworkReply::finished, this, &AsyncDownload::onFinished);
}

void AsyncDownload::onFinished()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    const QByteArray body = reply->readAll();
    if (const QString error = update::transferError(reply, body.size(), false); !error.isEmpty()) {
        Q_EMIT finished(false, error);
        return;
    }
    QDir().mkpath(QFileInfo(m_target).absolutePath());
    QSaveFile file(m_target);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size() || !file.commit()) {
        Q_EMIT finished(false, u"无法写入文件 %1: %2"_s.arg(QDir::toNativeSeparators(m_target), file.errorString()));
        return;
    }
    Q_EMIT finished(true, {});
}
