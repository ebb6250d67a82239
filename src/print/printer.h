#pragma once
// Where a sheet goes: the default printer, or a PDF file when there is none.
// One call of printSheet() is one print job of one page.

#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <memory>
#include <vector>

namespace print {

struct Placement {
    QRectF twips;   // the cell, from the origin of the printable area
    QImage picture; // null: the cell stays blank
};

struct Sheet {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    std::vector<Placement> cells;
    QString title = QStringLiteral("Parvello");
};

struct SheetResult {
    enum Outcome { Printed, SavedAsPdf, Failed };
    Outcome outcome = Failed;
    QString error;    // why it failed, for the user interface
    QString pdfFile;  // SavedAsPdf: the file written
    qint64 bytes = 0; // size of the document handed over
};

class SheetTarget {
  public:
    virtual ~SheetTarget() = default;
    virtual SheetResult printSheet(const Sheet& sheet) = 0;
    // Dots per inch the cells are resampled to.
    virtual int resolution() const = 0;
};

// The default CUPS destination, or null when there is no printer or CUPS
// cannot be reached.
std::unique_ptr<SheetTarget> defaultPrinter();

// Each sheet as a new PDF file in `folder` (created when missing; existing
// files are never overwritten).
std::unique_ptr<SheetTarget> pdfFolder(const QString& folder, int dpi = 600);

// "<documents>/Parvello Prints".
QString fallbackFolder();

// The default printer, else the PDF folder; a printer that goes away during a
// run hands the rest of the run to the PDF folder.
std::unique_ptr<SheetTarget> defaultTarget(const QString& folder = fallbackFolder());

// The picture resampled (area-averaged, never nearest-neighbour) to the
// device pixels of a cell of the given twip size at `dpi`.
QImage resampleToCell(const QImage& picture, const QSizeF& twips, int dpi);

} // namespace print
