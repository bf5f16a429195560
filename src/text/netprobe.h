#pragma once

#include <QList>
#include <QNetworkInformation>
#include <QString>

// Synchronous network probes used at start-up, by timers and by explicit update requests.
namespace text {

// True when the system reports an internet connection that is up.
bool isOnline();

// What isOnline() decides from: the reachability a backend reports (Unknown without one) and, when
// that says nothing, the interfaces of the machine.
struct InterfaceState
{
    bool up = false;
    bool running = false;
    bool loopback = false;
    bool hasAddress = false;
};
bool onlineFrom(QNetworkInformation::Reachability reachability, const QList<InterfaceState> &interfaces);

// True when the address answers 200 or 302 within timeoutMs; "http://" is put in front of an
// address without a scheme. Redirects are not followed, caches are bypassed.
bool urlExists(const QString &address, int timeoutMs = 10000);

// The address with "http://" in front when it names no scheme.
QString withScheme(const QString &address);

} // namespace text
