#pragma once
// The sheets of a print run, copied from the windows' state when the run is
// ordered and made later on the run's worker thread.

#include "pictures/package_pictures.h"
#include "print/layouts.h"
#include "print/print_options.h"
#include "print/print_summary.h"
#include "print/printer.h"

#include <QImage>
#include <atomic>
#include <functional>
#include <string_view>
#include <vector>

namespace print {

// One sheet, made once at the target's resolution for its paper and handed
// over `copies` times, one job each.
struct SheetOrder {
    std::string_view caption; // "5x7", as in the layouts
    int copies = 1;
    std::function<Sheet(int dpi, const Paper& paper)> make; // reads only what it holds
    bool single = false; // one picture alone: "the 4x6 print" rather than "sheet"
};

// Each package in the order given, copyCount sheets each, each cell with its
// position's picture from `pictures` (a position without one leaves its cell
// blank), filled as `options` say with the position's own framing.
std::vector<SheetOrder> packageOrders(const Packages& packages, int copyCount,
                                      const PackagePictures::Snapshot& pictures,
                                      const PrintOptions& options = {});

// One picture alone at size 0..4 ("8x10" .. "2.5x3.25"), upright or on its
// side: in the printable area's corner, or on paper of its own size the
// whole paper (own_paper.h).
SheetOrder singleOrder(const QImage& picture, int sizeIndex, bool horizontal,
                       const PrintOptions& options = {}, const imaging::Framing& framing = {});

// How many sheets the orders hand over.
int sheetCount(const std::vector<SheetOrder>& orders);

// Makes the sheets and hands each to `target` on the calling thread, stopping
// before a sheet once `stop` is set; `sheetDone` hears of each sheet handed
// over. The jobs are not followed (PrintJob does that).
PrintSummary sendSheets(SheetTarget& target, const std::vector<SheetOrder>& orders,
                        const std::atomic<bool>* stop = nullptr,
                        const std::function<void(int sheetsDone)>& sheetDone = {});

// sendSheets() of packageOrders() / singleOrder(), on the calling thread.
PrintSummary printPackages(SheetTarget& target, const Packages& packages, int copyCount,
                           const PackagePictures& pictures, const PrintOptions& options = {});
PrintSummary printSingleSheet(SheetTarget& target, const QImage& picture, int sizeIndex,
                              bool horizontal, const PrintOptions& options = {},
                              const imaging::Framing& framing = {});

} // namespace print
