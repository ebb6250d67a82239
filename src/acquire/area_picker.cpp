#include "acquire/area_picker.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace acquire {

namespace {

constexpr double handleReach = 6; // pixels around a handle that still handleReach it
constexpr int margin = 4;

} // namespace

AreaPicker::AreaPicker(QWidget* parent) : QWidget(parent) {
    setObjectName("areaPicker");
    setMinimumSize(200, 240);
    setCursor(Qt::CrossCursor);
}

void AreaPicker::setGlass(const QRectF& mm) {
    m_glass = mm;
    update();
}

void AreaPicker::setPreview(const QImage& picture) {
    m_preview = picture;
    update();
}

void AreaPicker::setArea(const QRectF& mm) {
    m_area = mm.normalized() & m_glass;
    update();
}

QRectF AreaPicker::view() const {
    const QRectF room = QRectF(rect()).adjusted(margin, margin, -margin, -margin);
    if (m_glass.isEmpty() || room.isEmpty())
        return room;
    const double scale = std::min(room.width() / m_glass.width(), room.height() / m_glass.height());
    QRectF v(0, 0, m_glass.width() * scale, m_glass.height() * scale);
    v.moveTopLeft(room.topLeft());
    return v;
}

QPointF AreaPicker::toWidget(const QPointF& mm) const {
    const QRectF v = view();
    if (m_glass.isEmpty())
        return v.topLeft();
    return {v.left() + (mm.x() - m_glass.left()) * v.width() / m_glass.width(),
            v.top() + (mm.y() - m_glass.top()) * v.height() / m_glass.height()};
}

QPointF AreaPicker::toGlass(const QPointF& p) const {
    const QRectF v = view();
    if (v.isEmpty())
        return m_glass.topLeft();
    const QPointF mm(m_glass.left() + (p.x() - v.left()) * m_glass.width() / v.width(),
                     m_glass.top() + (p.y() - v.top()) * m_glass.height() / v.height());
    return {std::clamp(mm.x(), m_glass.left(), m_glass.right()),
            std::clamp(mm.y(), m_glass.top(), m_glass.bottom())};
}

void AreaPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The preview scan is drawn straight into the screen's device pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF v = view();
    painter.fillRect(rect(), palette().window());
    if (m_preview.isNull())
        painter.fillRect(v, Qt::white);
    else
        painter.drawImage(v, m_preview);
    painter.setPen(Qt::gray);
    painter.drawRect(v);
    if (m_area.isEmpty())
        return;
    const QRectF a(toWidget(m_area.topLeft()), toWidget(m_area.bottomRight()));
    // What will not be scanned is dimmed.
    QPainterPath outside;
    outside.addRect(v);
    outside.addRect(a);
    painter.fillPath(outside, QColor(0, 0, 0, 90));
    painter.setPen(QPen(QColor(0, 120, 215), 1.5));
    painter.drawRect(a);
    painter.setBrush(Qt::white);
    painter.setPen(QColor(0, 120, 215));
    const double xs[] = {a.left(), a.center().x(), a.right()};
    const double ys[] = {a.top(), a.center().y(), a.bottom()};
    for (double x : xs)
        for (double y : ys)
            if (x != a.center().x() || y != a.center().y())
                painter.drawRect(QRectF(x - 3, y - 3, 6, 6));
}

void AreaPicker::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_glass.isEmpty())
        return;
    const QPointF p = event->position();
    const QRectF a(toWidget(m_area.topLeft()), toWidget(m_area.bottomRight()));
    m_pressMm = toGlass(p);
    m_pressArea = m_area;
    const bool nearLeft = std::abs(p.x() - a.left()) <= handleReach;
    const bool nearRight = !nearLeft && std::abs(p.x() - a.right()) <= handleReach;
    const bool nearTop = std::abs(p.y() - a.top()) <= handleReach;
    const bool nearBottom = !nearTop && std::abs(p.y() - a.bottom()) <= handleReach;
    const bool acrossX = p.x() >= a.left() - handleReach && p.x() <= a.right() + handleReach;
    const bool acrossY = p.y() >= a.top() - handleReach && p.y() <= a.bottom() + handleReach;
    m_moving[0] = nearLeft && acrossY;
    m_moving[1] = nearTop && acrossX;
    m_moving[2] = nearRight && acrossY;
    m_moving[3] = nearBottom && acrossX;
    if (std::none_of(std::begin(m_moving), std::end(m_moving), [](bool b) { return b; })) {
        // The whole glass cannot move: a press on it starts a new rectangle.
        if (!m_area.isEmpty() && a.contains(p) && m_area != m_glass) {
            std::fill(std::begin(m_moving), std::end(m_moving), true);
        } else {
            // A new rectangle from the pressed point: its far corner follows.
            m_pressArea = QRectF(m_pressMm, m_pressMm);
            m_moving[0] = m_moving[1] = false;
            m_moving[2] = m_moving[3] = true;
        }
    }
}

void AreaPicker::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        dragTo(toGlass(event->position()));
}

void AreaPicker::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragTo(toGlass(event->position()));
    std::fill(std::begin(m_moving), std::end(m_moving), false);
}

void AreaPicker::dragTo(const QPointF& mm) {
    if (std::none_of(std::begin(m_moving), std::end(m_moving), [](bool b) { return b; }))
        return;
    QRectF next = m_pressArea;
    if (std::all_of(std::begin(m_moving), std::end(m_moving), [](bool b) { return b; })) {
        // Moved whole, it stays on the glass.
        const QPointF shift = mm - m_pressMm;
        next.translate(shift);
        next.moveLeft(std::clamp(next.left(), m_glass.left(), m_glass.right() - next.width()));
        next.moveTop(std::clamp(next.top(), m_glass.top(), m_glass.bottom() - next.height()));
    } else {
        if (m_moving[0])
            next.setLeft(mm.x());
        if (m_moving[1])
            next.setTop(mm.y());
        if (m_moving[2])
            next.setRight(mm.x());
        if (m_moving[3])
            next.setBottom(mm.y());
        next = next.normalized();
    }
    if (next.width() <= 0 || next.height() <= 0 || next == m_area)
        return;
    m_area = next & m_glass;
    update();
    emit areaChanged(m_area);
}

} // namespace acquire
