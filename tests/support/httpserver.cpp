#include "support/httpserver.h"

#include <QTcpSocket>

using namespace Qt::StringLiterals;

HttpServer::HttpServer(QObject *parent)
    : QTcpServer(parent)
{
    if (!listen(QHostAddress::LocalHost, 0))
        qFatal("test HTTP server cannot listen");
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = nextPendingConnection()) {
            auto buffer = std::make_shared<QByteArray>();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
                buffer->append(socket->readAll());
                if (!buffer->contains("\r\n\r\n"))
                    return;
                const QByteArray requestLine = buffer->left(buffer->indexOf("\r\n"));
                const QList<QByteArray> parts = requestLine.split(' ');
                socket->setProperty("path", parts.size() > 1 ? parts.at(1) : QByteArray("/"));
                serve(socket);
            });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString HttpServer::base() const
{
    return u"http://127.0.0.1:%1"_s.arg(serverPort());
}

void HttpServer::serve(QTcpSocket *socket)
{
    const QByteArray path = socket->property("path").toByteArray();
    ++m_hits[path];
    const auto it = m_routes.constFind(path);
    const Route r = it == m_routes.constEnd() ? Route{404, "not found", Mode::Answer, {}} : *it;
    if (r.mode == Mode::Silent)
        return;
    const QByteArray reason = r.status == 200   ? "OK"
                              : r.status == 302 ? "Found"
                              : r.status == 404 ? "Not Found"
                                                : "Status";
    QByteArray head = "HTTP/1.0 " + QByteArray::number(r.status) + ' ' + reason + "\r\n";
    if (r.mode != Mode::CutShort)
        head += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
    // Pages for a web view bring their own type in extraHeaders.
    if (!r.extraHeaders.toLower().contains("content-type:"))
        head += "Content-Type: application/octet-stream\r\n";
    head += r.extraHeaders + "Connection: close\r\n\r\n";
    socket->write(head);
    if (r.mode == Mode::BreakOff) {
        socket->write(r.body.left(r.body.size() / 2));
        socket->flush();
        socket->abort();
        return;
    }
    socket->write(r.mode == Mode::CutShort ? r.body.left(r.body.size() / 2) : r.body);
    socket->disconnectFromHost();
}
