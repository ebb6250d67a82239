#pragma once
// A small HTTP server on 127.0.0.1 for the update tests: it answers every
// request in the way the test asks for, from a proper version file to a
// server that never answers.

#include <QByteArray>
#include <QList>
#include <QTcpServer>
#include <QTimer>
#include <QUrl>

class QTcpSocket;

class VersionServer : public QTcpServer {
    Q_OBJECT
  public:
    enum class Mode {
        Answer,  // status line and body as set
        Silent,  // takes the request and says nothing
        Trickle, // a 200 header, then one byte of body every 100 ms, forever
        Huge,    // a 200 answer with a body of hugeSize bytes
        HangUp,  // closes the connection as soon as the request is in
    };

    VersionServer();
    ~VersionServer() override;

    void answer(int status, const QByteArray& body) {
        m_mode = Mode::Answer;
        m_status = status;
        m_body = body;
    }
    void setMode(Mode mode) { m_mode = mode; }
    void setHugeSize(qint64 bytes) { m_hugeSize = bytes; }

    QUrl baseUrl() const;
    // Request lines received ("GET /path HTTP/1.1").
    const QList<QByteArray>& requests() const { return m_requests; }
    // Body bytes the server managed to hand to the connection.
    qint64 bodyBytesWritten() const { return m_bodyWritten; }

  private:
    void serve(QTcpSocket* socket);
    void respond(QTcpSocket* socket);

    Mode m_mode = Mode::Answer;
    int m_status = 200;
    QByteArray m_body;
    qint64 m_hugeSize = 8 * 1024 * 1024;
    QList<QByteArray> m_requests;
    qint64 m_bodyWritten = 0;
};
