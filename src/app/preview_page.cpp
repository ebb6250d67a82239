#include "app/preview_page.h"

#include "common/units.h"

#include <QResizeEvent>
#include <cmath>

namespace {

constexpr int kMarginTwips = 120;

// The fewest logical pixels that make whole device pixels at `ratio`: 2 at
// 1.5, 4 at 1.25.
int wholeDevicePixels(double ratio) {
    for (int step = 1; step <= 8; ++step)
        if (std::abs(step * ratio - std::round(step * ratio)) < 0.01)
            return step;
    return 1;
}

} // namespace

PreviewPage::PreviewPage(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PreviewPage::addBox(QWidget* widget, const QRect& twips) {
    widget->setParent(this);
    m_boxes.push_back({widget, twips});
    placeBoxes();
}

QRect PreviewPage::designed() const {
    QRect all;
    for (const Box& box : m_boxes)
        all |= box.twips;
    return all.adjusted(-kMarginTwips, -kMarginTwips, kMarginTwips, kMarginTwips);
}

QSize PreviewPage::sizeHint() const {
    const QRect d = designed();
    return {units::toScreenPixels(d.width()), units::toScreenPixels(d.height())};
}

QSize PreviewPage::minimumSizeHint() const {
    // The previews shrink with a small screen's window, down to a quarter.
    return sizeHint() / 4;
}

void PreviewPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeBoxes();
}

void PreviewPage::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    placeBoxes();
}

void PreviewPage::placeBoxes() {
    const QRect d = designed();
    if (d.isEmpty())
        return;
    const double scale = std::min(width() / double(d.width()), height() / double(d.height()));
    const double left = (width() - d.width() * scale) / 2 - d.left() * scale;
    // Centred across; from the top down, as on paper, when the page is taller.
    const double top = -d.top() * scale;
    // Each edge is rounded on its own, so boxes that meet in twips still
    // meet, and onto a whole pixel of the screen: at a ratio of 1.5 a box's
    // one-pixel outline would otherwise straddle pixels and be cut off.
    const int step = wholeDevicePixels(devicePixelRatioF());
    const QPoint inWindow = mapTo(window(), QPoint(0, 0));
    auto snap = [&](double v, int offset) {
        return int(std::lround((v + offset) / step)) * step - offset;
    };
    auto x = [&](int twips) { return snap(left + twips * scale, inWindow.x()); };
    auto y = [&](int twips) { return snap(top + twips * scale, inWindow.y()); };
    for (const Box& box : m_boxes) {
        const QRect& t = box.twips;
        box.widget->setGeometry(
            QRect(QPoint(x(t.left()), y(t.top())),
                  QPoint(x(t.left() + t.width()) - 1, y(t.top() + t.height()) - 1)));
    }
}
