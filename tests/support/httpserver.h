#pragma once

#include <QByteArray>
#include <QHash>
#include <QTcpServer>

// A small HTTP/1.0 server on 127.0.0.1 for tests. Each path answers with a fixed status and body;
// a route can also stay silent, break off half-way through the body, or announce no length and
// close the connection in order after half of the body (a transfer that looks complete).
class HttpServer final : public QTcpServer
{
    Q_OBJECT
public:
    enum class Mode { Answer, Silent, BreakOff, CutShort };
    struct Route
    {
        int status = 200;
        QByteArray body;
        Mode mode = Mode::Answer;
        QByteArray extraHeaders; // e.g. "Location: /x\r\n"; a Content-Type here replaces the default
    };

    explicit HttpServer(QObject *parent = nullptr);
    void route(const QByteArray &path, const Route &r) { m_routes.insert(path, r); }
    void route(const QByteArray &path, int status, const QByteArray &body = {})
    {
        route(path, Route{status, body, Mode::Answer, {}});
    }
    // "http://127.0.0.1:port"
    QString base() const;
    int requests(const QByteArray &path) const { return m_hits.value(path); }

private:
    void serve(QTcpSocket *socket);
    QHash<QByteArray, Route> m_routes;
    QHash<QByteArray, int> m_hits;
};
