#include "print/sheet_painter.h"

#include "common/units.h"
#include "print/cut_guides.h"

#include <QPainter>
#include <vector>

namespace print {

void paintCells(QPainter& painter, double dpi, const Sheet& sheet, const QSizeF& printableTwips) {
    const double scale = units::dotsPerTwip(dpi);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const Placement& cell : sheet.cells) {
        if (cell.picture.isNull())
            continue;
        painter.drawImage(QRectF(cell.twips.x() * scale, cell.twips.y() * scale,
                                 cell.twips.width() * scale, cell.twips.height() * scale),
                          cell.picture);
    }
    if (sheet.cutGuides) {
        std::vector<QRectF> cells;
        for (const Placement& cell : sheet.cells)
            cells.push_back(cell.twips);
        painter.setPen(
            QPen(QColor(140, 140, 140), kCutGuideWidth * scale, Qt::SolidLine, Qt::FlatCap));
        for (const QLineF& guide : cutGuides(cells, QRectF(QPointF(0, 0), printableTwips)))
            painter.drawLine(QLineF(guide.p1() * scale, guide.p2() * scale));
    }
}

bool paintSheet(QPagedPaintDevice& device, int dpi, const Sheet& sheet, QString* error) {
    QPainter painter;
    if (!painter.begin(&device)) {
        *error = QStringLiteral("The page could not be started.");
        return false;
    }
    const double scale = units::dotsPerTwip(dpi);
    paintCells(painter, dpi, sheet, QSizeF(device.width() / scale, device.height() / scale));
    return painter.end();
}

} // namespace print
