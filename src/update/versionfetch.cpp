#include "update/versionfetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace updatecheck {

VersionFetch::VersionFetch(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)) {
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        if (m_reply) {
            m_timedOut = true;
            m_reply->abort();
        }
    });
}

VersionFetch::~VersionFetch() {
    abort();
}

void VersionFetch::start(const QUrl& url, std::chrono::milliseconds timeout) {
    abort();
    m_body.clear();
    m_tooLarge = false;
    m_timedOut = false;
    m_result = {};

    QNetworkRequest request(url);
    request.setTransferTimeout(int(timeout.count()));
    // A cached or stale answer would defeat the point of checking.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    m_reply = m_network->get(request);
    // Keep Qt from buffering a huge body on our behalf: we take what we need.
    m_reply->setReadBufferSize(kMaxVersionBody + 1);
    connect(m_reply, &QNetworkReply::readyRead, this, &VersionFetch::readSome);
    connect(m_reply, &QNetworkReply::finished, this, &VersionFetch::done);
    m_deadline.start(timeout);
}

void VersionFetch::abort() {
    m_deadline.stop();
    if (QNetworkReply* reply = m_reply) {
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void VersionFetch::readSome() {
    if (!m_reply || m_tooLarge)
        return;
    m_body += m_reply->read(kMaxVersionBody + 1 - m_body.size());
    if (m_body.size() > kMaxVersionBody) {
        m_tooLarge = true;
        m_reply->abort();
    }
}

void VersionFetch::done() {
    QNetworkReply* reply = m_reply;
    if (!reply)
        return;
    m_deadline.stop();
    readSome();

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    m_result.httpStatus = status.isValid() ? status.toInt() : 0;

    if (m_tooLarge) {
        m_result.problem = FetchProblem::TooLarge;
    } else if (m_timedOut) {
        m_result.problem = FetchProblem::TimedOut;
    } else if (reply->error() != QNetworkReply::NoError) {
        switch (reply->error()) {
        case QNetworkReply::ConnectionRefusedError:
        case QNetworkReply::HostNotFoundError:
        case QNetworkReply::NetworkSessionFailedError:
        case QNetworkReply::TemporaryNetworkFailureError:
        case QNetworkReply::UnknownNetworkError:
            m_result.problem = FetchProblem::Unreachable;
            break;
        case QNetworkReply::TimeoutError:
        case QNetworkReply::OperationCanceledError: // the transfer timeout ends this way
            m_result.problem = FetchProblem::TimedOut;
            break;
        default:
            m_result.problem =
                m_result.httpStatus >= 400 ? FetchProblem::HttpStatus : FetchProblem::Failed;
        }
    } else if (m_result.httpStatus >= 300) {
        // Redirects are followed by Qt; a status still outside 2xx is a failure.
        m_result.problem = FetchProblem::HttpStatus;
    } else {
        m_result.body = m_body;
    }

    m_reply = nullptr;
    reply->disconnect(this);
    reply->deleteLater();
    emit finished();
}

} // namespace updatecheck
