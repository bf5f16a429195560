#include "update/asyncdownload.h"

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
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(m_timeoutMs);
    m_reply = m_manager->get(request);
    connect(m_reply, &QNetworkReply::finished, this, &AsyncDownload::onFinished);
}

void AsyncDownload::onFinished()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    const QByteArray body = reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString where = reply->url().toString(QUrl::RemoveUserInfo);
    if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299) {
        Q_EMIT finished(false, status >= 300 ? u"下载失败 %1: 服务器回答 %2"_s.arg(where).arg(status)
                                             : u"下载失败 %1: %2"_s.arg(where, reply->errorString()));
        return;
    }
    // A connection that closes early is not always reported as an error.
    const QByteArray encoding = reply->rawHeader("Content-Encoding").trimmed().toLower();
    const QVariant expected =
        encoding.isEmpty() || encoding == "identity" ? reply->header(QNetworkRequest::ContentLengthHeader) : QVariant();
    if (expected.isValid() && expected.toLongLong() != body.size()) {
        Q_EMIT finished(false, u"下载失败 %1: 只收到 %2 字节"_s.arg(where).arg(body.size()));
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
