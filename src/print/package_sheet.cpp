#include "print/package_sheet.h"

#include "print/captions.h"
#include "print/cell_fill.h"

#include <vector>

namespace print {

Sheet packageSheet(const PackageLayout& package, int dpi, const PrintOptions& printOptions,
                   const std::function<QImage(int index)>& picture,
                   const std::function<imaging::Framing(int index)>& framing) {
    std::vector<Placement> cells;
    std::vector<QImage> sources;
    std::vector<CellOptions> options;
    for (const Cell& c : package.cells) {
        cells.push_back({QRectF(c.x, c.y, c.width, c.height), {}});
        sources.push_back(picture(c.picture));
        options.push_back(cellOptions(printOptions, framing(c.picture)));
    }
    // The same picture in cells of the same size is resampled once.
    std::vector<int> firstUse(cells.size(), -1);
    for (size_t i = 0; i < cells.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (firstUse[j] < 0 && !sources[i].isNull() &&
                sources[j].cacheKey() == sources[i].cacheKey() &&
                cells[j].twips.size() == cells[i].twips.size() &&
                options[j].framing == options[i].framing) {
                firstUse[i] = int(j);
                break;
            }
    // One after another: the smooth scaler already spreads each picture
    // over the cores (cells each on a core of their own measured slower, on
    // the print worker too: bench/print/print_job_bench).
    for (size_t i = 0; i < cells.size(); ++i)
        if (firstUse[i] < 0 && !sources[i].isNull())
            cells[i].picture = resampleToCell(sources[i], cells[i].twips.size(), dpi, options[i]);
    for (size_t i = 0; i < cells.size(); ++i)
        if (firstUse[i] >= 0)
            cells[i].picture = cells[size_t(firstUse[i])].picture;
    Sheet sheet;
    sheet.orientation = QPageLayout::Portrait;
    sheet.title = QStringLiteral("Parvello %1").arg(caption(package.caption));
    sheet.cells = std::move(cells);
    sheet.cutGuides = printOptions.cutGuides;
    return sheet;
}

} // namespace print
