#pragma once
// A package's sheet, made once for the printer and for the print preview.

#include "print/layouts.h"
#include "print/print_options.h"
#include "print/printer.h"

#include <QImage>
#include <functional>

namespace print {

// One sheet of the package at `dpi`: each cell with the picture of its
// position, `picture(index)` (the full picture for printing, the screen copy
// for the preview), filled as `options` and the position's `framing(index)`
// say. A position without a picture leaves its cell blank.
Sheet packageSheet(const PackageLayout& package, int dpi, const PrintOptions& options,
                   const std::function<QImage(int index)>& picture,
                   const std::function<imaging::Framing(int index)>& framing);

} // namespace print
