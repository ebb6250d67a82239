// Table lookups over the rows of a picture: each of channels 1 to 3 through a 256-entry table
// of its own, the fourth byte kept. The colour filters whose result depends on one channel
// value alone run through here.
#pragma once

#include <cstdint>

namespace imaging::detail {

struct ChannelTables {
    const std::uint8_t* blue;
    const std::uint8_t* green;
    const std::uint8_t* red;
};

// The sum over a row of each pixel's grey, (B + G + R) \ 3.
std::uint64_t greySum(const std::uint8_t* row, int width);

// Replaces every pixel of the row (width pixels) through the tables.
void lookupRow(std::uint8_t* row, int width, const ChannelTables& tables);

} // namespace imaging::detail
