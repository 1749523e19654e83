#pragma once

// A tiny HTTP server on 127.0.0.1 for the update-check tests: it reads one
// request per connection and hands the socket to a responder.

#include <functional>
#include <memory>
#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

class HttpTestServer
{
public:
    using Responder = std::function<void(QTcpSocket* socket)>;

    explicit HttpTestServer(Responder responder) : m_responder(std::move(responder))
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket* const socket = m_server.nextPendingConnection())
                serve(socket);
        });
    }

    QUrl url() const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/ver.dat").arg(m_server.serverPort()));
    }

    int requests() const { return m_requests; }
    // The socket of the last request, while it is open.
    QTcpSocket* lastSocket() const { return m_last; }

    // A whole answer: status line, length, body, then the connection closes.
    static void answer(QTcpSocket* socket, const QByteArray& body,
                       const QByteArray& status = QByteArrayLiteral("200 OK"))
    {
        socket->write("HTTP/1.1 " + status + "\r\nContent-Type: text/plain\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    // An address where nothing listens: a server that opened a port and closed it.
    static QUrl refusedUrl()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        const quint16 port = probe.serverPort();
        probe.close();
        return QUrl(QStringLiteral("http://127.0.0.1:%1/ver.dat").arg(port));
    }

private:
    void serve(QTcpSocket* socket)
    {
        auto request = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
            const bool complete = request->contains("\r\n\r\n");
            *request += socket->readAll();
            if (complete || !request->contains("\r\n\r\n"))
                return;
            ++m_requests;
            m_last = socket;
            m_responder(socket);
        });
    }

    QTcpServer m_server;
    Responder m_responder;
    int m_requests = 0;
    QPointer<QTcpSocket> m_last;
};
