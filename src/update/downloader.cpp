#include "update/downloader.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace update {

QNetworkRequest downloadRequest(const QUrl &url, int timeoutMs)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(timeoutMs);
    return request;
}

QString transferError(const QNetworkReply *reply, qint64 received, bool allowNoStatus)
{
    const QString where = reply->url().toString(QUrl::RemoveUserInfo);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool statusOk = (status == 0 && allowNoStatus) || (status >= 200 && status <= 299);
    if (reply->error() != QNetworkReply::NoError || !statusOk)
        return status >= 300 ? u"下载失败 %1: 服务器回答 %2"_s.arg(where).arg(status)
                             : u"下载失败 %1: %2"_s.arg(where, reply->errorString());
    // A connection that closes early is not always reported as an error. With a content encoding
    // the length counts the compressed bytes, not those received here.
    const QByteArray encoding = reply->rawHeader("Content-Encoding").trimmed().toLower();
    const QVariant expected =
        encoding.isEmpty() || encoding == "identity" ? reply->header(QNetworkRequest::ContentLengthHeader) : QVariant();
    if (expected.isValid() && expected.toLongLong() != received)
        return u"下载失败 %1: 只收到 %2 字节,应为 %3 字节"_s.arg(where).arg(received).arg(expected.toLongLong());
    return {};
}

} // namespace update

Downloader::Downloader(QObject *parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
{
}

Downloader::~Downloader() = default;

bool Downloader::fetch(const QUrl &url, const QString &targetPath, QString *error)
{
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!url.isValid() || url.scheme().isEmpty())
        return fail(u"下载地址无效: "_s + url.toString());
    if (!QDir().mkpath(QFileInfo(targetPath).absolutePath()))
        return fail(u"无法建立文件夹: "_s + QDir::toNativeSeparators(QFileInfo(targetPath).absolutePath()));
    QSaveFile file(targetPath);
    if (!file.open(QIODevice::WriteOnly))
        return fail(u"无法写入文件 %1: %2"_s.arg(QDir::toNativeSeparators(targetPath), file.errorString()));

    QNetworkReply *reply = m_manager->get(update::downloadRequest(url, m_timeoutMs));

    QEventLoop loop;
    bool begun = false;
    qint64 received = 0;
    QString writeError;
    const auto begin = [&] {
        if (begun)
            return;
        begun = true;
        Q_EMIT started(reply->header(QNetworkRequest::ContentLengthHeader).isValid()
                           ? reply->header(QNetworkRequest::ContentLengthHeader).toLongLong()
                           : -1);
    };
    connect(reply, &QNetworkReply::metaDataChanged, &loop, begin);
    connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        const QByteArray chunk = reply->readAll();
        received += chunk.size();
        if (writeError.isEmpty() && file.write(chunk) != chunk.size()) {
            writeError = file.errorString();
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 done, qint64 total) {
        begin();
        Q_EMIT progress(done, total);
    });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    begin();
    const QByteArray rest = reply->isOpen() ? reply->readAll() : QByteArray();
    received += rest.size();
    if (writeError.isEmpty() && file.write(rest) != rest.size())
        writeError = file.errorString();
    const QString transfer = update::transferError(reply, received, true);
    reply->deleteLater();
    Q_EMIT finished();

    if (!writeError.isEmpty())
        return fail(u"无法写入文件 %1: %2"_s.arg(QDir::toNativeSeparators(targetPath), writeError));
    if (!transfer.isEmpty())
        return fail(transfer);
    if (!file.commit())
        return fail(u"无法写入文件 %1: %2"_s.arg(QDir::toNativeSeparators(targetPath), file.errorString()));
    return true;
}
