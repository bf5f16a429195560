#include "text/netprobe.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QNetworkReply>
#include <QNetworkProxy>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace text {

bool isOnline()
{
    if (QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        const auto reach = QNetworkInformation::instance()->reachability();
        if (reach != QNetworkInformation::Reachability::Unknown)
            return reach == QNetworkInformation::Reachability::Online
                || reach == QNetworkInformation::Reachability::Site;
    }
    // No backend that knows: any interface that is up, running and not a loopback will do.
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &iface : interfaces) {
        const auto flags = iface.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning)
            && !flags.testFlag(QNetworkInterface::IsLoopBack) && !iface.addressEntries().isEmpty())
            return true;
    }
    return false;
}

QString withScheme(const QString &address)
{
    if (address.contains(u"://"))
        return address;
    return u"http://"_s + address;
}

bool urlExists(const QString &address, int timeoutMs)
{
    const QUrl url(withScheme(address));
    if (!url.isValid() || url.host().isEmpty())
        return false;
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::DefaultProxy);
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("InetURL:/1.0"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setRawHeader("Cache-Control", "no-cache");

    QNetworkReply *reply = manager.get(request);
    QEventLoop loop;
    int status = 0;
    // The status line is all we need: stop as soon as the headers are in.
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status != 0)
            loop.quit();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, [&] {
        status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    reply->abort();
    return status == 200 || status == 302;
}

} // namespace text
