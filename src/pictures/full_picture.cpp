#include "pictures/full_picture.h"

#include "common/workers.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// Receives one event posted at low priority, as Qt posts its requests to
// repaint, so that it comes after the repaints already asked for.
class Starter : public QObject {
  public:
    explicit Starter(std::weak_ptr<FullPicture> full) : m_full(std::move(full)) {}

  protected:
    void customEvent(QEvent*) override {
        if (const std::shared_ptr<FullPicture> full = m_full.lock())
            full->start();
        deleteLater();
    }

  private:
    std::weak_ptr<FullPicture> m_full;
};

} // namespace

FullPicture::FullPicture(Decode decode, const QImage& reduced)
    : m_cancel(std::make_shared<std::atomic<bool>>(false)), m_decodeFile(std::move(decode)),
      m_picture(reduced) {}

void FullPicture::startSoon(const std::shared_ptr<FullPicture>& full) {
    QCoreApplication::postEvent(new Starter(full), new QEvent(QEvent::User), Qt::LowEventPriority);
}

void FullPicture::start() {
    const std::lock_guard lock(m_mutex);
    if (!m_decodeFile)
        return;
    m_decode =
        QtConcurrent::run(workers::pool(), [decode = std::move(m_decodeFile), cancel = m_cancel] {
            return decode(cancel.get());
        });
    m_decodeFile = nullptr;
}

FullPicture::~FullPicture() {
    // The worker keeps the flag alive and ends at its next rows; nobody
    // waits for it.
    m_cancel->store(true);
}

QImage FullPicture::picture() {
    start();
    QFuture<QImage> decode;
    {
        const std::lock_guard lock(m_mutex);
        if (m_done)
            return m_picture;
        decode = m_decode;
    }
    // Waited for outside the lock: the screen and a print worker may wait together.
    if (!decode.isFinished()) {
        // Only the screen's thread has a cursor to show.
        const QCoreApplication* app = QCoreApplication::instance();
        const bool onScreen = app && QThread::currentThread() == app->thread();
        if (onScreen)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        decode.waitForFinished();
        if (onScreen)
            QGuiApplication::restoreOverrideCursor();
    }
    const std::lock_guard lock(m_mutex);
    if (!m_done) {
        if (const QImage full = decode.result(); !full.isNull())
            m_picture = full;
        m_decode = {};
        m_done = true;
    }
    return m_picture;
}
