#include "app/preview_image.h"

#include "app/full_picture.h"
#include "app/preview_table.h"
#include "app/twips.h"

#include <QMouseEvent>
#include <QPainter>

PreviewImage::PreviewImage(int number, QWidget* parent) : QWidget(parent), m_number(number) {
    setObjectName(name());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QString PreviewImage::name() const {
    return imageName(m_number);
}

const QImage& PreviewImage::picture() const {
    if (m_full) {
        m_picture = m_full->picture();
        m_full.reset();
    }
    return m_picture;
}

void PreviewImage::setPicture(std::shared_ptr<FullPicture> full, const QImage& screenCopy) {
    setPicture(QImage(), screenCopy);
    m_full = std::move(full);
}

void PreviewImage::setPicture(const QImage& picture, const QImage& screenCopy) {
    m_full.reset();
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
    const int side = screenCopySide();
    if (picture.isNull() || (picture.width() <= side && picture.height() <= side))
        return picture;
    return picture.scaled(QSize(side, side), Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

int screenCopySide() {
    int largest = 0;
    for (const PreviewBox& box : PreviewBoxes)
        largest = std::max({largest, box.width, box.height});
    const QScreen* screen = QGuiApplication::primaryScreen();
    return int(std::ceil(2 * twips::toPixels(largest) * (screen ? screen->devicePixelRatio() : 1)));
}
