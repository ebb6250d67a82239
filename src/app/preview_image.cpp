#include "app/preview_image.h"

#include "app/picture_browser.h"
#include "app/preview_table.h"
#include "common/sharpness.h"
#include "common/units.h"
#include "pictures/package_pictures.h"
#include "print/layouts.h"
#include "print/soft_prints.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

PreviewImage::PreviewImage(PackagePictures& pictures, int position, QWidget* parent)
    : QWidget(parent), m_pictures(pictures), m_position(position) {
    setObjectName(name());
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The prints can be framed from the keyboard too.
    if (print::cellOf(position)) {
        setFocusPolicy(Qt::StrongFocus);
        setAcceptDrops(true);
    }
    connect(&pictures, &PackagePictures::changed, this, &PreviewImage::pictureChanged);
    connect(&pictures, &PackagePictures::framingChanged, this, &PreviewImage::framingChanged);
    pictureChanged(position);
}

QString PreviewImage::name() const {
    return imageName(m_position);
}

void PreviewImage::pictureChanged(int index) {
    if (index != m_position)
        return;
    m_screenCopy = m_pictures.preview(index);
    m_cache = QPixmap();
    setAccessibleName(
        previewAccessibleName(index, m_pictures.isEmpty(index), m_pictures.name(index)));
    update();
}

void PreviewImage::dragEnterEvent(QDragEnterEvent* event) {
    if (browser::droppedPicture(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void PreviewImage::dropEvent(QDropEvent* event) {
    if (const auto file = browser::droppedPicture(event->mimeData())) {
        event->acceptProposedAction();
        emit fileDropped(m_position, *file);
    }
}

void PreviewImage::framingChanged(int index) {
    if (index != m_position)
        return;
    m_cache = QPixmap();
    update();
}

void PreviewImage::setSelected(bool selected) {
    if (m_selected == selected)
        return;
    m_selected = selected;
    setAccessibleDescription(selected ? QStringLiteral("Selected") : QString());
    update();
}

void PreviewImage::setFillMode(imaging::FillMode fill, bool turnToFit) {
    if (fill == m_fill && turnToFit == m_turnToFit)
        return;
    m_fill = fill;
    m_turnToFit = turnToFit;
    m_cache = QPixmap();
    update();
}

print::CellOptions PreviewImage::cellOptions() const {
    return {m_fill, m_turnToFit, m_pictures.framing(m_position)};
}

bool PreviewImage::looksSoft() const {
    const print::Cell* cell = print::cellOf(m_position);
    return cell && print::looksSoft(m_pictures.size(m_position), QSizeF(cell->width, cell->height),
                                    cellOptions());
}

QString PreviewImage::softText() const {
    if (!looksSoft())
        return {};
    const print::Cell* cell = print::cellOf(m_position);
    const QSize picture = m_pictures.size(m_position);
    return sharpness::sharpnessText(
        picture, QStringLiteral("soft"),
        print::printPixelsPerInch(picture, QSizeF(cell->width, cell->height), cellOptions()));
}

bool PreviewImage::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && looksSoft()) {
        const QString tip = toolTip().isEmpty() ? softText() : toolTip() + '\n' + softText();
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}

QRect PreviewImage::printArea() const {
    const QRect inside = rect().adjusted(1, 1, -1, -1);
    const print::Cell* cell = print::cellOf(m_position);
    // A print in its cell's shape; the scanned picture, which has no cell, in its own.
    const QSize shape = cell ? QSize(cell->width, cell->height) : m_screenCopy.size();
    if (shape.isEmpty())
        return inside;
    const QSize shown = shape.scaled(inside.size(), Qt::KeepAspectRatio);
    return QRect(inside.topLeft() + QPoint((inside.width() - shown.width()) / 2,
                                           (inside.height() - shown.height()) / 2),
                 shown);
}

bool PreviewImage::framable() const {
    return m_fill == imaging::FillMode::Crop && print::cellOf(m_position) &&
           !m_pictures.size(m_position).isEmpty();
}

void PreviewImage::zoomBy(int steps) {
    if (!framable() || steps == 0)
        return;
    // Each step a quarter closer, no further than the picture stays sharp.
    const print::Cell* cell = print::cellOf(m_position);
    const print::CellOptions options = cellOptions();
    const double largest =
        print::largestZoom(m_pictures.size(m_position), QSizeF(cell->width, cell->height), options);
    imaging::Framing f = options.framing;
    f.zoom = std::clamp(f.zoom * std::pow(1.25, steps), 1.0, largest);
    m_pictures.setFraming(m_position, f);
}

void PreviewImage::moveBy(double dx, double dy) {
    if (!framable())
        return;
    const print::Cell* cell = print::cellOf(m_position);
    const QSize size = m_pictures.size(m_position);
    m_pictures.setFraming(
        m_position, imaging::draggedFraming(size.width(), size.height(), cell->width, cell->height,
                                            m_turnToFit, m_pictures.framing(m_position), dx, dy));
}

void PreviewImage::resizeEvent(QResizeEvent*) {
    m_cache = QPixmap();
}

void PreviewImage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (!m_screenCopy.isNull()) {
        const QRect area = printArea();
        // Made at the screen's own pixels, so a ratio of 2 shows twice the detail.
        const qreal ratio = devicePixelRatioF();
        if (m_cache.size() != deviceSize(area.size(), ratio) || m_cache.devicePixelRatio() != ratio)
            m_cache = printPixmap(m_screenCopy, print::cellOf(m_position), area.size(), ratio,
                                  cellOptions());
        p.drawPixmap(area.topLeft(), m_cache);
        if (looksSoft())
            paintSoftBadge(p, area);
    }
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(4, 4, -5, -5));
    }
    if (m_selected) {
        // The preview the next file goes into: a clear frame in the
        // highlight colour.
        QPen pen(palette().color(QPalette::Highlight), 3);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void PreviewImage::paintSoftBadge(QPainter& p, const QRect& area) {
    // A small amber tag in the print's corner: seen at a glance, never
    // hiding the face in the middle.
    p.save();
    QFont font = p.font();
    font.setBold(true);
    font.setPointSizeF(std::max(6.0, font.pointSizeF() * 0.8));
    p.setFont(font);
    const QString text = QStringLiteral("Soft");
    const QRect bounds = p.fontMetrics().boundingRect(text);
    const QRect tag =
        bounds.adjusted(-4, -1, 4, 1).translated(area.topLeft() + QPoint(6, 6) - bounds.topLeft());
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 176, 0));
    p.drawRoundedRect(tag, 3, 3);
    p.setPen(Qt::black);
    p.drawText(tag, Qt::AlignCenter, text);
    p.restore();
}

void PreviewImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_dragFrom = event->position();
    emit clicked(m_position);
}

void PreviewImage::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QRect area = printArea();
    const QPointF step = event->position() - m_dragFrom;
    m_dragFrom = event->position();
    moveBy(step.x() / area.width(), step.y() / area.height());
}

void PreviewImage::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    emit clicked(m_position);
    if (print::cellOf(m_position))
        m_pictures.setFraming(m_position, {});
}

void PreviewImage::wheelEvent(QWheelEvent* event) {
    // One notch of an ordinary wheel is 120.
    const int steps = event->angleDelta().y() / 120;
    if (framable() && steps != 0) {
        zoomBy(steps);
        event->accept();
    } else {
        event->ignore();
    }
}

void PreviewImage::keyPressEvent(QKeyEvent* event) {
    // A twentieth of the print a press, as a drag of that length would.
    constexpr double step = 0.05;
    const int key = event->key();
    const bool arrow =
        key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    if (arrow && !(event->modifiers() & Qt::ControlModifier)) {
        if (PreviewImage* next = neighbour(key))
            next->setFocus(Qt::OtherFocusReason);
        else
            event->ignore();
        return;
    }
    switch (key) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit clicked(m_position);
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomBy(1);
        break;
    case Qt::Key_Minus:
        zoomBy(-1);
        break;
    case Qt::Key_0:
        if (framable())
            m_pictures.setFraming(m_position, {});
        break;
    case Qt::Key_Left:
        moveBy(-step, 0);
        break;
    case Qt::Key_Right:
        moveBy(step, 0);
        break;
    case Qt::Key_Up:
        moveBy(0, -step);
        break;
    case Qt::Key_Down:
        moveBy(0, step);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

// The nearest preview on the same page lying wholly on the arrow's side: a
// box straight across counts nearer than one as far off to the side.
PreviewImage* PreviewImage::neighbour(int arrowKey) const {
    const QRect from = geometry();
    PreviewImage* nearest = nullptr;
    int nearestDistance = 0;
    for (PreviewImage* other :
         parentWidget()->findChildren<PreviewImage*>(Qt::FindDirectChildrenOnly)) {
        if (other == this || !(other->focusPolicy() & Qt::TabFocus))
            continue;
        const QRect to = other->geometry();
        const QPoint d = to.center() - from.center();
        bool beyond = false;
        int ahead = 0, aside = 0;
        switch (arrowKey) {
        case Qt::Key_Left:
            beyond = to.right() < from.left();
            ahead = -d.x();
            aside = d.y();
            break;
        case Qt::Key_Right:
            beyond = to.left() > from.right();
            ahead = d.x();
            aside = d.y();
            break;
        case Qt::Key_Up:
            beyond = to.bottom() < from.top();
            ahead = -d.y();
            aside = d.x();
            break;
        default:
            beyond = to.top() > from.bottom();
            ahead = d.y();
            aside = d.x();
            break;
        }
        const int distance = ahead + 2 * std::abs(aside);
        if (beyond && (!nearest || distance < nearestDistance)) {
            nearest = other;
            nearestDistance = distance;
        }
    }
    return nearest;
}

QSize deviceSize(QSize logical, qreal ratio) {
    return (QSizeF(logical) * ratio).toSize();
}

QPixmap printPixmap(const QImage& screenCopy, const print::Cell* cell, QSize box, qreal ratio,
                    const print::CellOptions& options) {
    const imaging::Framing& f = options.framing;
    const QSize pixels = deviceSize(box, ratio);
    const QString key = QStringLiteral("Parvello preview %1 %2x%3 %4x%5 %6 %7 %8 %9 %10 %11")
                            .arg(screenCopy.cacheKey())
                            .arg(pixels.width())
                            .arg(pixels.height())
                            .arg(cell ? cell->width : 0)
                            .arg(cell ? cell->height : 0)
                            .arg(int(options.fill))
                            .arg(options.turnToFit)
                            .arg(f.zoom)
                            .arg(f.centreX)
                            .arg(f.centreY)
                            .arg(ratio);
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        // The print is painted by the code that fills the sheet's cells; without
        // a cell the box already has the picture's shape.
        pixmap = QPixmap::fromImage(
            cell ? print::fillCell(screenCopy, QSizeF(cell->width, cell->height), pixels, options)
                 : screenCopy.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        pixmap.setDevicePixelRatio(ratio);
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

int screenCopySide(QSize designedWindow, QSize designedPage) {
    int largest = 0;
    for (const PreviewBox& box : PreviewBoxes)
        largest = std::max({largest, box.width, box.height});
    // How far the pages can grow: the window filling the largest work area,
    // the columns beside the previews keeping their size.
    double side = 2 * units::toScreenPixels(largest);
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QSize room = screen->availableGeometry().size() - (designedWindow - designedPage);
        const double grown = std::min(room.width() / double(designedPage.width()),
                                      room.height() / double(designedPage.height()));
        side = std::max(side, grown * units::toScreenPixels(largest));
    }
    qreal ratio = 1;
    for (const QScreen* screen : QGuiApplication::screens())
        ratio = std::max(ratio, screen->devicePixelRatio());
    return int(std::ceil(side * ratio));
}
