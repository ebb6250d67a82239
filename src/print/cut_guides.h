#pragma once
// Cut guides: short thin lines that carry each cell's edges out beyond its
// corners, so a sheet of wallets can be cut straight with a trimmer. They lie
// only in the gaps and margins, never on a print: a guide that would come
// near a cell is shortened, and dropped when too little of it is left (the
// 5-twip gaps between cells hold none; the edges of the layout and the empty
// parts of the page do).

#include <QLineF>
#include <QRectF>
#include <span>
#include <vector>

namespace print {

inline constexpr double kCutGuideWidth = 10; // twips: half a point

// The guides for cells laid out inside `printable`, all in twips.
std::vector<QLineF> cutGuides(std::span<const QRectF> cells, const QRectF& printable);

} // namespace print
