#include "app/window_size.h"

#include <algorithm>

namespace windowsize {

QSize smallest(QSize designed, const QRect& workArea) {
    return designed.boundedTo(workArea.size());
}

namespace {

// `size` no larger than `area` and wholly inside it, as near `topLeft` as that allows.
QRect fitted(QPoint topLeft, QSize size, const QRect& area) {
    const QSize s = size.boundedTo(area.size());
    const int x = std::clamp(topLeft.x(), area.left(), area.left() + area.width() - s.width());
    const int y = std::clamp(topLeft.y(), area.top(), area.top() + area.height() - s.height());
    return {QPoint(x, y), s};
}

} // namespace

QRect startGeometry(const std::optional<QRect>& remembered, QSize designed, QSize minimum,
                    const QList<QRect>& workAreas, const QMargins& frame) {
    if (workAreas.isEmpty())
        return {QPoint(0, 0), designed};
    if (remembered && !remembered->isEmpty())
        for (const QRect& area : workAreas)
            if (area.contains(remembered->center()))
                return fitted(remembered->topLeft(), remembered->size().expandedTo(minimum), area);
    const QRect primary = workAreas.first() - frame;
    const QSize size = designed.boundedTo(primary.size());
    return fitted(primary.center() - QPoint(size.width() / 2, size.height() / 2), size, primary);
}

} // namespace windowsize
