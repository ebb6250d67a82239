#pragma once
// Painting a sheet's cells: onto the printer's page, and onto the print
// preview's pages, by the same code.

#include "print/printer.h"

#include <QPagedPaintDevice>

class QPainter;

namespace print {

// The pictures reach the sheet in sRGB (they are converted when loaded). In
// PDF/A-1b Qt declares that with an sRGB output intent, so the print filters
// and the printer's driver know what colours they receive.
inline constexpr QPagedPaintDevice::PdfVersion kSrgbPdf = QPagedPaintDevice::PdfVersion_A1b;

// Paints the cells, and their cut guides when the sheet has them, with the
// painter's origin at the top-left of the printable area (`printableTwips`
// large), at `dpi` device pixels to the inch. Each picture fills its cell
// whatever its own size. An empty picture leaves its cell blank.
void paintCells(QPainter& painter, double dpi, const Sheet& sheet, const QSizeF& printableTwips);

// One page: the device's painter starts at the printable area; `dpi` is the
// device's resolution.
bool paintSheet(QPagedPaintDevice& device, int dpi, const Sheet& sheet, QString* error);

} // namespace print
