#include "text/netprobe.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace text {

bool onlineFrom(QNetworkInformation::Reachability reachability, const QList<InterfaceState> &interfaces)
{
    using R = QNetworkInformation::Reachability;
    if (reachability != R::Unknown)
        return reachability == R::Online || reachability == R::Site;
    // Nobody knows: any interface that is up, running and not a loopback will do.
    return std::any_of(interfaces.cbegin(), interfaces.cend(),
                       [](const InterfaceState &i) { return i.up && i.running && !i.loopback && i.hasAddress; });
}

bool isOnline()
{
    auto reach = QNetworkInformation::Reachability::Unknown;
    if (QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        reach = QNetworkInformation::instance()->reachability();
    QList<InterfaceState> states;
    if (reach == QNetworkInformation::Reachability::Unknown) {
        const auto interfaces = QNetworkInterface::allInterfaces();
        for (const QNetworkInterface &iface : interfaces) {
            const auto flags = iface.flags();
            states.append({flags.testFlag(QNetworkInterface::IsUp), flags.testFlag(QNetworkInterface::IsRunning),
                           flags.testFlag(QNetworkInterface::IsLoopBack), !iface.addressEntries().isEmpty()});
        }
    }
    return onlineFrom(reach, states);
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
