#include "print/sheet_orders.h"

#include "print/captions.h"
#include "print/own_paper.h"
#include "print/package_sheet.h"

#include <QFileInfo>
#include <algorithm>
#include <memory>

namespace print {

namespace {

void count(PrintSummary& summary, const SheetOrder& order, const SheetResult& r) {
    switch (r.outcome) {
    case SheetResult::Printed:
        ++summary.sheets;
        if (r.jobId > 0)
            summary.jobs.push_back(
                {print::caption(order.caption), r.printer, r.jobId, order.single});
        break;
    case SheetResult::SavedAsPdf:
        ++summary.sheets;
        ++summary.pdfFiles;
        summary.pdfFolder = QFileInfo(r.pdfFile).absolutePath();
        if (summary.whyPdf.isEmpty())
            summary.whyPdf = r.whyPdf;
        break;
    case SheetResult::Failed:
        ++summary.failed;
        if (summary.error.isEmpty())
            summary.error = r.error;
        break;
    }
    summary.bytes.push_back(r.bytes);
}

} // namespace

std::vector<SheetOrder> packageOrders(const Packages& packages, int copyCount,
                                      const PackagePictures::Snapshot& pictures,
                                      const PrintOptions& options) {
    std::vector<SheetOrder> orders;
    if (copyCount < 1)
        return orders;
    // One copy of the positions, shared by the sheets of the run.
    const auto shared = std::make_shared<const PackagePictures::Snapshot>(pictures);
    for (const PackageLayout* package : packages)
        orders.push_back(
            {package->caption, copyCount, [package, shared, options](int dpi, const Paper&) {
                 return packageSheet(
                     *package, dpi, options, [&](int index) { return shared->picture(index); },
                     [&](int index) { return shared->framing(index); });
             }});
    return orders;
}

SheetOrder singleOrder(const QImage& picture, int sizeIndex, bool horizontal,
                       const PrintOptions& options, const imaging::Framing& framing) {
    const SingleSize& size = singleSize(sizeIndex);
    auto make = [&size, sizeIndex, picture, horizontal, options, framing](int dpi,
                                                                          const Paper& paper) {
        Sheet sheet;
        sheet.orientation = horizontal ? QPageLayout::Landscape : QPageLayout::Portrait;
        sheet.title = QStringLiteral("Parvello %1").arg(print::caption(size.caption));
        const std::optional<QRectF> own = ownPaperCell(paper, sizeIndex, horizontal);
        const QRectF cell = own.value_or(singleCell(sizeIndex, horizontal));
        sheet.cells.push_back({cell, resampleToCell(picture, cell.size(), dpi,
                                                    {options.fill, options.turnToFit, framing})});
        // The paper is the print: nothing to cut.
        sheet.cutGuides = options.cutGuides && !own;
        return sheet;
    };
    return {size.caption, 1, std::move(make), true};
}

int sheetCount(const std::vector<SheetOrder>& orders) {
    int sheets = 0;
    for (const SheetOrder& order : orders)
        sheets += order.copies;
    return sheets;
}

PrintSummary sendSheets(SheetTarget& target, const std::vector<SheetOrder>& orders,
                        const std::atomic<bool>* stop,
                        const std::function<void(int sheetsDone)>& sheetDone) {
    PrintSummary summary;
    int done = 0;
    const int total = sheetCount(orders);
    auto stopped = [&] { return stop && stop->load(); };
    for (const SheetOrder& order : orders) {
        if (stopped())
            break;
        const Sheet sheet = order.make(target.resolution(), target.paper());
        for (int copy = 1; copy <= order.copies && !stopped(); ++copy) {
            count(summary, order, target.printSheet(sheet));
            if (sheetDone)
                sheetDone(++done);
        }
    }
    summary.cancelled = total - done;
    return summary;
}

PrintSummary printPackages(SheetTarget& target, const Packages& packages, int copyCount,
                           const PackagePictures& pictures, const PrintOptions& options) {
    return sendSheets(target, packageOrders(packages, copyCount, pictures.snapshot(), options));
}

PrintSummary printSingleSheet(SheetTarget& target, const QImage& picture, int sizeIndex,
                              bool horizontal, const PrintOptions& options,
                              const imaging::Framing& framing) {
    return sendSheets(target, {singleOrder(picture, sizeIndex, horizontal, options, framing)});
}

} // namespace print
