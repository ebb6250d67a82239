#pragma once
// "Print Preview": the package sheets as they will print. Each page shows the
// printer's paper with the edges it cannot print shaded, and the cells
// made and painted by the same code as the printed sheet (fill mode,
// turning, framing, cut guides) from the previews' screen-sized pictures, so
// opening it is quick however large the photos are.

#include "print/layouts.h"
#include "print/paper.h"
#include "print/print_options.h"

#include <QDialog>
#include <QImage>
#include <QString>
#include <vector>

class PackagePictures;

namespace print {

struct PreviewPage {
    QString caption; // the package: "5x7"
    int copies = 1;
    QImage image; // the whole paper
};

// One page for each package given, in that order (the printing order), at
// `dpi` pixels to the inch, each cell with the screen copy of its position's
// picture; a position without one leaves its cell blank.
std::vector<PreviewPage> previewPages(const Paper& paper, const Packages& packages, int copyCount,
                                      const PackagePictures& pictures, const PrintOptions& options,
                                      double dpi);

class PrintPreview : public QDialog {
    Q_OBJECT
  public:
    // `printer`: the printer and its paper ("Office_Inkjet: Letter, glossy
    // photo paper, best quality"); empty when the sheets become PDF files.
    PrintPreview(const std::vector<PreviewPage>& pages, const QString& printer,
                 QWidget* parent = nullptr);
    int pageCount() const { return m_pageCount; }

  private:
    int m_pageCount;
};

// Opens the preview of the packages to print on the printer in use (a window of
// its own, closed by the user) and returns it.
PrintPreview* showPrintPreview(const Packages& packages, int copyCount,
                               const PackagePictures& pictures, const PrintOptions& options);

} // namespace print
