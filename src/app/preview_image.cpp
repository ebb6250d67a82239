#include "app/preview_image.h"

#include "app/preview_table.h"

#include <QMouseEvent>
#include <QPainter>

PreviewImage::PreviewImage(int number, QWidget* parent) : QWidget(parent), m_number(number) {
    setObjectName(name());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QString PreviewImage::name() const {
    return imageName(m_number);
}

void PreviewImage::setPicture(const QImage& picture, const QImage& screenCopy) {
    m_picture = picture;
    m_screenCopy = screenCopy.isNull() ? makeScreenCopy(picture) : screenCopy;
    m_cache = QPixmap();
    update();
}

void PreviewImage::setSelected(bool selected) {
    if (m_selected == selected)
        return;
    m_selected = selected;
    update();
}

void PreviewImage::resizeEvent(QResizeEvent*) {
    m_cache = QPixmap();
}

void PreviewImage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect inside = rect().adjusted(1, 1, -1, -1);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (!m_screenCopy.isNull()) {
        if (m_cache.size() != inside.size())
            m_cache = QPixmap::fromImage(m_screenCopy.scaled(inside.size(), Qt::IgnoreAspectRatio,
                                                             Qt::SmoothTransformation));
        p.drawPixmap(inside.topLeft(), m_cache);
    }
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (m_selected) {
        // The preview the next file goes into: a clear frame in the
        // highlight colour.
        QPen pen(palette().color(QPalette::Highlight), 3);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void PreviewImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit clicked(m_number);
}

void PreviewImage::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit clicked(m_number);
}

QImage makeScreenCopy(const QImage& picture) {
    // Twice the largest box, so the final smooth scaling still has detail.
    constexpr int Side = 800;
    if (picture.isNull() || (picture.width() <= Side && picture.height() <= Side))
        return picture;
    return picture.scaled(QSize(Side, Side), Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
