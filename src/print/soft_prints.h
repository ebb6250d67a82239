#pragma once
// Will it look sharp? A print whose picture gives it fewer than 150 pixels
// an inch (after cropping) looks soft: the preview shows a badge and the
// print question names those prints:
// "2 wallet prints will look soft: their picture is 320 × 240 pixels."

#include "print/cell_fill.h"
#include "print/layouts.h"

#include <QSize>
#include <QStringList>

class PackagePictures;

namespace print {

inline constexpr double kSoftBelowPixelsPerInch = 150;

// How far a print may be zoomed into its picture: until the picture gives
// it 150 pixels an inch, twice enlarged from the 300 a photo printer wants,
// so zooming never makes a print look soft. At least 1.
double largestZoom(const QSize& picture, const QSizeF& twips, const CellOptions& options);

// Whether a picture of this size looks soft in a cell of `twips`.
bool looksSoft(const QSize& picture, const QSizeF& twips, const CellOptions& options);

// One sentence for each package and picture size that looks soft, each
// position filled as `options` and its framing say.
QStringList softPackageWarnings(const Packages& packages, const PackagePictures& pictures,
                                const PrintOptions& options);

// The same for one picture alone at size 0..4, upright or on its side.
QString softSingleWarning(const QSize& picture, int sizeIndex, bool horizontal,
                          const CellOptions& options);

} // namespace print
