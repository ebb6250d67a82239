#include "print/print_preview.h"

#include "common/units.h"
#include "pictures/package_pictures.h"
#include "print/captions.h"
#include "print/layouts.h"
#include "print/package_sheet.h"
#include "print/printer.h"
#include "print/sheet_painter.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cmath>

namespace print {

namespace {

// The paper with its unprintable edges shaded, over any part of a cell that
// lies there: that part will not reach the paper.
QImage paintPage(const Paper& paper, const Sheet& sheet, double dpi) {
    const double perPoint = units::dotsPerPoint(dpi);
    const QSizeF size = paper.sizeFor(sheet.orientation) * perPoint;
    const QMarginsF margins = paper.marginsFor(sheet.orientation) * perPoint;
    QImage page(size.toSize(), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.translate(margins.left(), margins.top());
    paintCells(painter, dpi, sheet, size.shrunkBy(margins) / units::dotsPerTwip(dpi));
    painter.resetTransform();
    const QRectF whole(QPointF(0, 0), size);
    QPainterPath edges;
    edges.addRect(whole);
    edges.addRect(whole.marginsRemoved(margins));
    painter.fillPath(edges, QColor(80, 80, 80, 110));
    painter.setPen(QColor(150, 150, 150));
    painter.drawRect(page.rect().adjusted(0, 0, -1, -1));
    return page;
}

QString copiesText(int copies) {
    return copies == 1 ? QStringLiteral("1 copy") : QStringLiteral("%1 copies").arg(copies);
}

} // namespace

std::vector<PreviewPage> previewPages(const Paper& paper, const Packages& packages, int copyCount,
                                      const PackagePictures& pictures, const PrintOptions& options,
                                      double dpi) {
    std::vector<PreviewPage> pages;
    if (copyCount < 1)
        return pages; // nothing would print
    for (const PackageLayout* p : packages) {
        const PackageLayout& package = *p;
        const Sheet sheet = packageSheet(
            package, int(std::lround(dpi)), options,
            [&](int index) { return pictures.preview(index); },
            [&](int index) { return pictures.framing(index); });
        pages.push_back({caption(package.caption), copyCount, paintPage(paper, sheet, dpi)});
    }
    return pages;
}

PrintPreview::PrintPreview(const std::vector<PreviewPage>& pages, const QString& printer,
                           QWidget* parent)
    : QDialog(parent), m_pageCount(int(pages.size())) {
    setObjectName("frmPrintPreview");
    setWindowTitle("Print Preview");
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(
        (printer.isEmpty() ? QStringLiteral("No printer: the sheets will be saved as PDF files.")
                           : QStringLiteral("Printing on %1.").arg(printer)) +
            QStringLiteral(" Shaded edges of the paper do not print."),
        this);
    heading->setWordWrap(true);
    layout->addWidget(heading);

    auto* column = new QWidget;
    auto* sheets = new QVBoxLayout(column);
    int widest = 0;
    for (size_t i = 0; i < pages.size(); ++i) {
        const PreviewPage& page = pages[i];
        auto* caption = new QLabel(QStringLiteral("Sheet %1 of %2: %3, %4")
                                       .arg(i + 1)
                                       .arg(pages.size())
                                       .arg(page.caption, copiesText(page.copies)),
                                   column);
        caption->setObjectName("pageCaption");
        auto* paper = new QLabel(column);
        paper->setObjectName("page");
        paper->setPixmap(QPixmap::fromImage(page.image));
        sheets->addWidget(caption);
        sheets->addWidget(paper);
        sheets->addSpacing(12);
        widest = std::max(widest, int(page.image.width() / page.image.devicePixelRatio()));
    }
    if (pages.empty())
        sheets->addWidget(new QLabel("No package is ticked: nothing will print.", column));
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(column);
    scroll->setAlignment(Qt::AlignHCenter);
    layout->addWidget(scroll, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    const QScreen* screen = QGuiApplication::primaryScreen();
    const int tallest = screen ? screen->availableGeometry().height() * 9 / 10 : 800;
    resize(widest + 60, std::min(tallest, 900));
}

PrintPreview* showPrintPreview(const Packages& packages, int copyCount,
                               const PackagePictures& pictures, const PrintOptions& options) {
    QStringList paperNote; // the printer and its paper, as the print question names them
    const std::unique_ptr<SheetTarget> target = defaultTarget(fallbackFolder(), &paperNote);
    // One pixel to the point, sharp on a high-density screen too.
    const qreal ratio = qApp->devicePixelRatio();
    std::vector<PreviewPage> pages = previewPages(target->paper(), packages, copyCount, pictures,
                                                  options, units::kPointsPerInch * ratio);
    for (PreviewPage& page : pages)
        page.image.setDevicePixelRatio(ratio);
    const QString printer = target->printerName();
    auto* preview =
        new PrintPreview(pages, printer.isEmpty() ? printer : paperNote.value(0, printer));
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->show();
    return preview;
}

} // namespace print
