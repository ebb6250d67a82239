#include "print/cut_guides.h"

namespace print {

namespace {

constexpr double kOffset = 72;    // from the corner to the guide: a twentieth of an inch
constexpr double kLength = 288;   // a fifth of an inch at most
constexpr double kShortest = 72;  // anything shorter is not worth printing
constexpr double kClearance = 10; // between a guide's edge and any cell

// The area a guide from `start` in direction `dir` (a unit step along x or
// y) of `length` covers, with its width.
QRectF covered(QPointF start, QPointF dir, double length) {
    const QPointF end = start + dir * length;
    const double half = kCutGuideWidth / 2;
    return QRectF(start, end).normalized().adjusted(-half, -half, half, half);
}

} // namespace

std::vector<QLineF> cutGuides(std::span<const QRectF> cells, const QRectF& printable) {
    std::vector<QLineF> guides;
    const QRectF inside = printable.adjusted(kCutGuideWidth / 2, kCutGuideWidth / 2,
                                             -kCutGuideWidth / 2, -kCutGuideWidth / 2);
    for (const QRectF& cell : cells) {
        const QPointF corners[4] = {cell.topLeft(), cell.topRight(), cell.bottomLeft(),
                                    cell.bottomRight()};
        for (const QPointF& corner : corners) {
            // Outward from this corner: along the horizontal edge, then the vertical one.
            const double sx = corner.x() == cell.left() ? -1 : 1;
            const double sy = corner.y() == cell.top() ? -1 : 1;
            for (const QPointF dir : {QPointF(sx, 0), QPointF(0, sy)}) {
                const QPointF start = corner + dir * kOffset;
                if (!inside.contains(start))
                    continue;
                // Shortened to stop short of the page's edge and of every cell.
                double length = std::min(kLength, dir.x() > 0   ? inside.right() - start.x()
                                                  : dir.x() < 0 ? start.x() - inside.left()
                                                  : dir.y() > 0 ? inside.bottom() - start.y()
                                                                : start.y() - inside.top());
                for (const QRectF& other : cells) {
                    if (length < kShortest)
                        break;
                    const QRectF keepOut =
                        other.adjusted(-kClearance, -kClearance, kClearance, kClearance);
                    if (!covered(start, dir, length).intersects(keepOut))
                        continue;
                    // Distance from the start to the near side of the keep-out area.
                    const double reach = dir.x() > 0   ? keepOut.left() - start.x()
                                         : dir.x() < 0 ? start.x() - keepOut.right()
                                         : dir.y() > 0 ? keepOut.top() - start.y()
                                                       : start.y() - keepOut.bottom();
                    length = std::min(length, reach - kCutGuideWidth / 2);
                }
                if (length >= kShortest)
                    guides.emplace_back(start, start + dir * length);
            }
        }
    }
    return guides;
}

} // namespace print
