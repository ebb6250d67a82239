#pragma once
// Will it look sharp? A print whose picture gives it fewer pixels an inch
// (after cropping) than common/sharpness.h asks looks soft: the preview shows
// a badge and the print question names those prints:
// "2 wallet prints will look soft: their picture is 320 × 240 pixels."

#include "print/cell_fill.h"
#include "print/layouts.h"

#include <QSize>
#include <QStringList>

class PackagePictures;

namespace print {

// How far a print may be zoomed into its picture: until it would look soft.
// At least 1.
double largestZoom(const QSize& picture, const QSizeF& twips, const CellOptions& options);

// The pixels an inch the picture gives a cell of `twips`.
double printPixelsPerInch(const QSize& picture, const QSizeF& twips, const CellOptions& options);

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
