#include "app/full_picture.h"

#include <QCursor>
#include <QGuiApplication>
#include <QtConcurrent/QtConcurrentRun>

FullPicture::FullPicture(const QString& fileName, const QByteArray& bytes, const QImage& reduced)
    : m_cancel(std::make_shared<std::atomic<bool>>(false)), m_picture(reduced) {
    m_decode = QtConcurrent::run([fileName, bytes, cancel = m_cancel] {
        return pictureloader::decode(fileName, bytes, cancel.get());
    });
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
    const LoadedPicture full = m_decode.result();
    if (full.ok())
        m_picture = full.image;
    else
        qInfo("Parvello: %s", qPrintable(full.error));
    m_decode = {};
    m_done = true;
    return m_picture;
}
