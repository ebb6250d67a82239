#include "version_server.h"

#include <QTcpSocket>

namespace {

QByteArray reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

} // namespace

VersionServer::VersionServer() {
    listen(QHostAddress::LocalHost, 0);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = nextPendingConnection())
            serve(socket);
    });
}

VersionServer::~VersionServer() {
    close();
}

QUrl VersionServer::baseUrl() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(serverPort()));
}

void VersionServer::serve(QTcpSocket* socket) {
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    auto* request = new QByteArray;
    connect(socket, &QObject::destroyed, [request] { delete request; });
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, request] {
        *request += socket->readAll();
        const qsizetype headEnd = request->indexOf("\r\n\r\n");
        if (headEnd < 0 || request->isEmpty())
            return;
        m_requests.append(request->left(request->indexOf("\r\n")));
        request->clear();
        respond(socket);
    });
}

void VersionServer::respond(QTcpSocket* socket) {
    switch (m_mode) {
    case Mode::Answer: {
        QByteArray head =
            "HTTP/1.1 " + QByteArray::number(m_status) + ' ' + reason(m_status) +
            "\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(m_body.size()) +
            "\r\nConnection: close\r\n\r\n";
        socket->write(head + m_body);
        m_bodyWritten += m_body.size();
        socket->disconnectFromHost();
        break;
    }
    case Mode::Silent:
        break;
    case Mode::HangUp:
        socket->abort();
        socket->deleteLater();
        break;
    case Mode::Trickle: {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 100\r\n\r\n");
        auto* timer = new QTimer(socket);
        connect(timer, &QTimer::timeout, socket, [this, socket] {
            socket->write("3");
            ++m_bodyWritten;
        });
        timer->start(100);
        break;
    }
    case Mode::Huge: {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                      QByteArray::number(m_hugeSize) + "\r\n\r\n");
        // Feed the body in chunks only as the client takes it, so the count
        // below tells how much the client really read.
        auto feed = [this, socket] {
            while (m_bodyWritten < m_hugeSize && socket->bytesToWrite() < 64 * 1024) {
                const qint64 chunk = std::min<qint64>(16 * 1024, m_hugeSize - m_bodyWritten);
                socket->write(QByteArray(chunk, '7'));
                m_bodyWritten += chunk;
            }
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, feed);
        feed();
        break;
    }
    }
}
