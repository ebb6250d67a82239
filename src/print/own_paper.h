#pragma once
// A single print on paper of its own size (a 4x6 on 4x6 paper): the paper is
// the print. On borderless paper the picture covers it whole and runs a
// millimetre beyond each edge, so no white hairline remains where the paper
// sits a little off; on paper with margins it is shrunk to the printable area,
// centred on the paper.

#include "print/paper.h"

#include <QRectF>
#include <optional>

namespace print {

// How far a borderless print runs beyond each edge of the paper, in millimetres.
inline constexpr double kBleedMm = 1.0;

// The cell of single size `sizeIndex` (0..4) in twips from the printable
// origin when `paper` is that size (either way round) and the print goes on
// it alone; nothing when the paper is another size (the print then sits in
// the printable area's corner).
std::optional<QRectF> ownPaperCell(const Paper& paper, int sizeIndex, bool horizontal);

} // namespace print
