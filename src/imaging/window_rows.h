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
template <int Margin, class Kernel> IMAGING_INLINE void windowRows(FilterRun& run, Kernel kernel) {
    const int w = run.width, h = run.height;
    if (w < 2 * Margin + 1 || h < 2 * Margin + 1) {
        // No pixel has a whole window: the rows are walked (and reported) with nothing to do,
        // and no row is read (a picture lower than the window has fewer rows than it).
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

// One row of a 3x3 filter over the unchanged picture: bytes begin .. end-1 of `out` from the
// three rows around it. `keep` marks the fourth bytes (they are taken from `mid`); `k` holds
// the colour offset of each byte, where the filter has one.
struct Row3 {
    const std::uint8_t* up;
    const std::uint8_t* mid;
    const std::uint8_t* down;
    std::uint8_t* out;
    const std::int16_t* k;
    const std::uint8_t* keep;
    int begin, end;
};
using Row3Kernel = void (*)(const Row3&);

// The byte loop of a row kernel: `value(up, mid, down, k, i)` for byte i. Each kernel is its
// own function, built for each instruction set, so that this loop is vectorised for it.
template <class Value> IMAGING_INLINE void eachByte3(const Row3& r, Value value) {
    const std::uint8_t* __restrict up = r.up;
    const std::uint8_t* __restrict mid = r.mid;
    const std::uint8_t* __restrict down = r.down;
    const std::int16_t* __restrict k = r.k;
    const std::uint8_t* __restrict keep = r.keep;
    std::uint8_t* __restrict out = r.out;
    // Bounds in locals: a byte store may alias anything, so r.end would be re-read each time.
    const int begin = r.begin, end = r.end;
    for (int i = begin; i < end; ++i) {
        const auto v = std::uint8_t(value(up, mid, down, k, i));
        out[i] = std::uint8_t((v & ~keep[i]) | (mid[i] & keep[i]));
    }
}

// Runs a 3x3 row kernel over the covered rows (2 to height-1) and columns (2 to width-1).
inline void window3x3(FilterRun& run, Row3Kernel kernel, const std::int16_t* k = nullptr) {
    const std::vector<std::uint8_t> keep = fourthByteMask(run.width);
    const int end = 4 * (run.width - 1);
    windowRows<1>(run, [&](const std::uint8_t* const* rows, std::uint8_t* out) {
        kernel(Row3{rows[0], rows[1], rows[2], out, k, keep.data(), 4, end});
    });
}

} // namespace imaging::detail
