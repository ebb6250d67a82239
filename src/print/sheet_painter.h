#pragma once
// Painting a sheet's cells onto a page set up with its layout.

#include "print/printer.h"

class QPagedPaintDevice;

namespace print {

// The painter's origin is the top-left of the printable area; `dpi` is the
// device's resolution. An empty picture leaves its cell blank.
bool paintSheet(QPagedPaintDevice& device, int dpi, const Sheet& sheet, QString* error);

} // namespace print
