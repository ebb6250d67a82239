#include "pictures/full_picture.h"

#include <QCursor>
#include <QGuiApplication>
#include <QtConcurrent/QtConcurrentRun>

FullPicture::FullPicture(Decode decode, const QImage& reduced)
    : m_cancel(std::make_shared<std::atomic<bool>>(false)), m_picture(reduced) {
    m_decode = QtConcurrent::run(
        [decode = std::move(decode), cancel = m_cancel] { return decode(cancel.get()); });
}

FullPicture::~FullPicture() {
    // The worker keeps the flag alive and ends at its next rows; nobody
    // waits for it.
    m_cancel->store(true);
}

const QImage& FullPicture::picture() {
    if (m_done)
        return m_picture;
    if (!m_decode.isFinished()) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        m_decode.waitForFinished();
        QGuiApplication::restoreOverrideCursor();
    }
    if (const QImage full = m_decode.result(); !full.isNull())
        m_picture = full;
    m_decode = {};
    m_done = true;
    return m_picture;
}
