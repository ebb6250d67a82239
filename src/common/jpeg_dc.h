#pragma once
// A JPEG at 1/8 size straight from the DC coefficients, for the screen. Even
// a 1/8 decode must read every bit of the entropy-coded data, and on a
// photograph that is most of a full decode's work; here each AC coefficient
// is skipped with one table lookup, and the data is split between two
// threads. The second thread starts in the middle of the data, not knowing
// where a block begins: Huffman codes fall back into step after a few
// blocks, and the first thread takes over the second's results from the
// first block where both were at the same bit in the same place of an MCU.
// Luma is as libjpeg's 1/8 decode gives it; colour is one sample a block.
// Plain C++, no Qt, no libjpeg: the caller reads the header.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace jpegdc {

// A Huffman table as stored in the file: counts[n] codes of n bits (n = 1 … 16),
// then their symbols in code order.
struct HuffmanTable {
    uint8_t counts[17];
    uint8_t symbols[256];
};

struct Component {
    int h, v;    // sampling factors, 1 … 4
    int dcQuant; // the DC quantiser
    HuffmanTable dc, ac;
};

// One baseline scan holding every component of the picture.
struct Scan {
    int width, height;
    std::vector<Component> components; // in scan order: grey, or YCbCr / RGB
    bool ycc;                          // three components to convert from YCbCr
    int restartInterval;               // MCUs between restart markers, 0 for none
    const uint8_t* data;               // from the byte after the scan header
    size_t size;                       // to the end of the file
};

// Writes (width + 7) / 8 x (height + 7) / 8 pixels as 0xffRRGGBB, rows
// `stride` bytes apart. False, with nothing written, for data that end before
// the scan does (a file cut short), sampling factors that do not tile an MCU,
// more than 10 blocks an MCU or a broken Huffman table.
bool decode(const Scan& scan, uint32_t* out, ptrdiff_t stride);

} // namespace jpegdc
