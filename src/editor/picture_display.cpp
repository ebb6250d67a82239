#include "editor/picture_display.h"

#include <QPainter>

namespace editor {

PictureDisplay::PictureDisplay(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
}

void PictureDisplay::setPicture(const QImage& picture) {
    // Commands refresh both displays; the original's never changes.
    if (picture.cacheKey() == m_picture.cacheKey() && !m_shown.isNull())
        return;
    m_picture = picture;
    rescale();
    update();
}

void PictureDisplay::rescale() {
    // Made at the screen's own pixels and painted at the logical size.
    const qreal ratio = devicePixelRatioF();
    const QSize box = (QSizeF(contentsRect().size()) * ratio).toSize();
    if (m_picture.isNull() || box.isEmpty()) {
        m_shown = QImage();
        return;
    }
    // A large picture first drops whole pixels down to a few times the box, so the smooth
    // pass has little to average.
    QImage step = m_picture;
    if (m_picture.width() > 4 * box.width() || m_picture.height() > 4 * box.height())
        step = m_picture.scaled(4 * box.width(), 4 * box.height(), Qt::IgnoreAspectRatio,
                                Qt::FastTransformation);
    m_shown = step.scaled(box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_shown.setDevicePixelRatio(ratio);
}

void PictureDisplay::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    rescale();
}

void PictureDisplay::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (m_shown.isNull())
        return;
    if (m_shown.devicePixelRatio() != devicePixelRatioF())
        rescale(); // moved to a screen of another density
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), m_shown);
}

} // namespace editor
