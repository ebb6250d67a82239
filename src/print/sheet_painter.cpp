#include "print/sheet_painter.h"

#include "print/layouts.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace print {

bool paintSheet(QPagedPaintDevice& device, int dpi, const Sheet& sheet, QString* error) {
    QPainter painter;
    if (!painter.begin(&device)) {
        *error = QStringLiteral("The page could not be started.");
        return false;
    }
    const double scale = dpi / kTwipsPerInchF;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const Placement& cell : sheet.cells) {
        if (cell.picture.isNull())
            continue;
        painter.drawImage(QRectF(cell.twips.x() * scale, cell.twips.y() * scale,
                                 cell.twips.width() * scale, cell.twips.height() * scale),
                          cell.picture);
    }
    return painter.end();
}

} // namespace print
