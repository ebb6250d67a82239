#pragma once
// One HTTP GET of the published version file. The body of that file is a few
// characters; anything longer is not a version file and is cut off after a
// few hundred bytes rather than read whole.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <chrono>

class QNetworkAccessManager;
class QNetworkReply;

namespace updatecheck {

// Bytes of body read at most; a longer body counts as too large.
inline constexpr qint64 kMaxVersionBody = 256;

enum class FetchProblem {
    None,
    Unreachable, // no such host, connection refused, no network
    TimedOut,    // no complete answer within the time allowed
    HttpStatus,  // the server answered with an error status (see httpStatus)
    TooLarge,    // the body is longer than kMaxVersionBody
    Failed,      // any other transfer failure
};

struct FetchResult {
    FetchProblem problem = FetchProblem::None;
    int httpStatus = 0; // the server's status code when it sent one
    QByteArray body;    // the whole body when problem is None
};

class VersionFetch : public QObject {
    Q_OBJECT
  public:
    explicit VersionFetch(QObject* parent = nullptr);
    ~VersionFetch() override;

    // Starts the GET; finished() follows exactly once unless abort() comes
    // first. The timeout bounds the whole transfer, however slowly the
    // server trickles its answer.
    void start(const QUrl& url, std::chrono::milliseconds timeout);
    // Stops a running transfer without emitting finished().
    void abort();
    bool isRunning() const { return !m_reply.isNull(); }

    const FetchResult& result() const { return m_result; }

  signals:
    void finished();

  private:
    void readSome();
    void done();

    QNetworkAccessManager* m_network;
    QPointer<QNetworkReply> m_reply;
    QTimer m_deadline;
    QByteArray m_body;
    bool m_tooLarge = false;
    bool m_timedOut = false;
    FetchResult m_result;
};

} // namespace updatecheck
