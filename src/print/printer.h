#pragma once
// Where a sheet goes: a printer, or a PDF file when there is none.
// One call of printSheet() is one print job of one page.

#include "print/cell_fill.h"
#include "print/paper.h"

#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>
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
    bool cutGuides = false; // thin grey lines beyond the cells' corners
};

struct SheetResult {
    enum Outcome { Printed, SavedAsPdf, Failed };
    Outcome outcome = Failed;
    QString error;    // why it failed, for the user interface
    QString pdfFile;  // SavedAsPdf: the file written
    QString whyPdf;   // SavedAsPdf: why not on paper, for the user interface
    qint64 bytes = 0; // size of the document handed over
    QString printer;  // Printed: the queue that took the job
    int jobId = 0;    // Printed: its job number there
};

class SheetTarget {
  public:
    virtual ~SheetTarget() = default;
    virtual SheetResult printSheet(const Sheet& sheet) = 0;
    // Dots per inch the cells are resampled to.
    virtual int resolution() const = 0;
    // The paper the sheets are laid out on.
    virtual Paper paper() const = 0;
    // The printer's queue name; empty for a folder.
    virtual QString printerName() const { return {}; }
};

// The CUPS destination `name`, or the default one when `name` is empty;
// null when there is no such printer or CUPS cannot be reached. Every job
// asks for `choice`; a paper the printer does not offer fails every sheet
// with that reason.
std::unique_ptr<SheetTarget> cupsPrinter(const QString& name = {}, const PaperChoice& choice = {});
inline std::unique_ptr<SheetTarget> defaultPrinter() {
    return cupsPrinter();
}

// Each sheet as a new PDF file in `folder` (created when missing; existing
// files are never overwritten). `why` says why the sheets are not on paper.
std::unique_ptr<SheetTarget> pdfFolder(const QString& folder, int dpi = 600,
                                       const QString& why = {});

// "<documents>/Parvello Prints".
QString fallbackFolder();

// The printer in use (see printer_choice.h) with the paper remembered for it
// (paper_memory.h), else the PDF folder when the scheduler lists no printer
// to use; a queue deleted during a run hands the rest of the run to the PDF
// folder. While the scheduler cannot be reached every sheet fails with that
// reason: nothing goes to a PDF unasked. `paperNote` (may be null) receives
// what the print question names: "Office_Inkjet: Letter, glossy photo paper,
// best quality", and the notice when a remembered value had to be dropped.
// `paper` (may be null) is used instead of the remembered paper.
std::unique_ptr<SheetTarget> defaultTarget(const QString& folder = fallbackFolder(),
                                           QStringList* paperNote = nullptr,
                                           const PaperChoice* paper = nullptr);

// The picture resampled (area-averaged, never nearest-neighbour) to the
// device pixels of a cell of the given twip size at `dpi`, filling it as the
// options say (stretched unless told otherwise).
QImage resampleToCell(const QImage& picture, const QSizeF& twips, int dpi,
                      const CellOptions& options = {});

} // namespace print
