// The row loop of the filters that read a window of the unchanged picture and write the
// centre. Only the rows that a window still needs are kept as they were (a ring of saved
// rows), so no full copy of the picture is made.
#pragma once

#include "imaging/filter_run.h"

#include <vector>

namespace imaging::detail {

// A row of 4 x width bytes: 0xFF on every fourth byte (the one filters leave alone).
inline std::vector<std::uint8_t> fourthByteMask(int width) {
    std::vector<std::uint8_t> keep(std::size_t(width) * 4, 0);
    for (int x = 0; x < width; ++x)
        keep[std::size_t(x) * 4 + 3] = 0xFF;
    return keep;
}

// Walks rows margin .. height-1-margin. `kernel(rows, out)` gets the 2*margin+1 rows of the
// unchanged picture centred on the row (rows[margin] is the row itself) and writes `out`, the
// row in the picture, for columns margin .. width-1-margin.
template <int Margin, class Kernel> void windowRows(FilterRun& run, Kernel kernel) {
    const int w = run.width, h = run.height;
    if (w < 2 * Margin + 1) {
        // No column has a whole window: the rows are walked (and reported) with nothing to do.
        for (int y = Margin; y < h - Margin; ++y)
            if (!run.rowDone(y))
                return;
        run.finish();
        return;
    }
    const std::size_t bytes = run.rowBytes();
    // Saved copies of rows y-Margin .. y (those already overwritten or about to be).
    std::vector<std::uint8_t> saved(bytes * (Margin + 1));
    const std::uint8_t* rows[2 * Margin + 1];
    for (int k = 0; k < Margin; ++k)
        std::memcpy(&saved[bytes * k], run.row(k), bytes);
    for (int y = Margin; y < h - Margin; ++y) {
        const int slot = y % (Margin + 1);
        std::memcpy(&saved[bytes * slot], run.row(y), bytes);
        for (int k = -Margin; k <= 0; ++k)
            rows[Margin + k] = &saved[bytes * ((y + k) % (Margin + 1))];
        for (int k = 1; k <= Margin; ++k)
            rows[Margin + k] = run.row(y + k);
        kernel(rows, run.row(y));
        if (!run.rowDone(y))
            return;
    }
    run.finish();
}

} // namespace imaging::detail
