#include "app/preview_image.h"

#include "app/preview_table.h"
#include "common/twips.h"
#include "pictures/package_pictures.h"

#include <QMouseEvent>
#include <QPainter>

PreviewImage::PreviewImage(const PackagePictures& pictures, int number, QWidget* parent)
    : QWidget(parent), m_pictures(pictures), m_number(number) {
    setObjectName(name());
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&pictures, &PackagePictures::changed, this, &PreviewImage::pictureChanged);
    pictureChanged(number - 1);
}

QString PreviewImage::name() const {
    return imageName(m_number);
}

void PreviewImage::pictureChanged(int index) {
    if (index != m_number - 1)
        return;
    m_screenCopy = makeScreenCopy(m_pictures.preview(index));
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
