#pragma once
// A picture made ready for one print cell, through the one mapping every
// preview and every sheet uses (imaging/cell_mapping.h).

#include "imaging/cell_mapping.h"
#include "print/print_options.h"

#include <QImage>
#include <QSizeF>

namespace print {

struct CellOptions {
    imaging::FillMode fill = imaging::FillMode::Stretch;
    bool turnToFit = true;
    imaging::Framing framing; // crop mode only
};

// The fill of a package position: the run's choices and the position's own
// framing.
CellOptions cellOptions(const PrintOptions& options, const imaging::Framing& framing);

// The cell's pixels at the given resolution.
QSize cellPixels(const QSizeF& twips, int dpi);

// Where a picture of this size lands in a cell of `twips`.
imaging::CellMapping cellMapping(const QSize& picture, const QSizeF& twips,
                                 const CellOptions& options);

// The whole cell, `pixels` large, filled with the picture as the options
// say: scaled smoothly (every source pixel a device pixel covers is
// averaged), turned if the mapping turns it, white where fit mode leaves the
// cell empty. Null for a null picture.
QImage fillCell(const QImage& picture, const QSizeF& twips, const QSize& pixels,
                const CellOptions& options);

} // namespace print
