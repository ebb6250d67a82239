// Table lookups over the rows of a picture: each of channels 1 to 3 through a 256-entry table
// of its own, the fourth byte kept. The colour filters whose result depends on one channel
// value alone run through here.
#pragma once

#include "imaging/filter_run.h"

#include <cstdint>

namespace imaging::detail {

struct ChannelTables {
    const std::uint8_t* blue;
    const std::uint8_t* green;
    const std::uint8_t* red;
};

// The sum over a row of each pixel's grey, (B + G + R) \ 3.
std::uint64_t greySum(const std::uint8_t* row, int width);

// The mean grey of the picture; 64 bits hold any picture's sum.
IMAGING_INLINE int meanGrey(const FilterRun& run) {
    std::uint64_t sum = 0;
    for (int y = 0; y < run.height; ++y)
        sum += greySum(run.row(y), run.width);
    const std::int64_t count = std::int64_t(run.width) * run.height;
    return count > 0 ? int(std::int64_t(sum) / count) : 0;
}

// Replaces every pixel of the row (width pixels) through the tables.
void lookupRow(std::uint8_t* row, int width, const ChannelTables& tables);

} // namespace imaging::detail
