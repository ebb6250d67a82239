// cImage: a device-independent bitmap of 1, 4, 8 or 24 bits with its colour table, and the
// block copies, stretches and turns that fill it, done in software over its own pixel layout:
// rows bottom-up, each padded to a multiple of 4 bytes; 24-bit pixels are blue, green, red;
// 1, 4 and 8-bit pixels are colour-table indexes, the leftmost pixel in the high bits.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace imaging {

struct RgbQuad {
    std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
    bool operator==(const RgbQuad&) const = default;
};

// A colour as the surfaces hold it: 0x00RRGGBB (bytes blue, green, red, 0 in memory).
using Colour = std::uint32_t;
constexpr Colour MakeColour(int red, int green, int blue) {
    return Colour(blue) | (Colour(green) << 8) | (Colour(red) << 16);
}

// A drawing surface: top-down rows of 32-bit colours, and the colour table of the bitmap it
// holds (empty for a true-colour bitmap).
struct Surface {
    int width = 0, height = 0;
    std::vector<Colour> pixels;
    std::vector<RgbQuad> colourTable;

    Surface() = default;
    Surface(int w, int h, Colour fill = 0)
        : width(w), height(h), pixels(std::size_t(w > 0 ? w : 0) * (h > 0 ? h : 0), fill) {}
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Colour& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    Colour at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// A picture object: a bitmap of its own depth (1, 4, 8, 16, 24 or 32 bits per pixel). The
// colours are those the picture shows; a palettised picture brings its colour table.
struct StdPicture {
    int bitsPerPixel = 24;
    Surface bitmap;
};

// Raster operations of PaintHDC (the usual values of these operations).
enum class RasterOp : std::uint32_t {
    SrcCopy = 0x00CC0020,
    SrcPaint = 0x00EE0086,   // source OR destination
    SrcAnd = 0x008800C6,     // source AND destination
    SrcInvert = 0x00660046,  // source XOR destination
    NotSrcCopy = 0x00330008, // inverted source
    Blackness = 0x00000042,
    Whiteness = 0x00FF0062,
};

// The 40-byte bitmap information header that describes the pixel buffer.
struct BitmapInfoHeader {
    std::int32_t biSize = 40;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0; // positive: rows lie bottom-up
    std::int16_t biPlanes = 1;
    std::int16_t biBitCount = 0;
    std::int32_t biCompression = 0;
    std::int32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::int32_t biClrUsed = 0;
    std::int32_t biClrImportant = 0;
};

class cImage {
  public:
    cImage() = default;

    std::int32_t width() const { return header_.biWidth; }
    std::int32_t height() const { return header_.biHeight; }
    std::int16_t bitcount() const { return header_.biBitCount; }
    // Non-zero while the object holds a picture.
    std::intptr_t hDC() const { return pixels_.empty() ? 0 : std::intptr_t(pixels_.data()); }
    // The first byte of the pixels: the bottom row.
    std::uint8_t* DIBitsPtr() { return pixels_.empty() ? nullptr : pixels_.data(); }
    const std::uint8_t* DIBitsPtr() const { return pixels_.empty() ? nullptr : pixels_.data(); }
    // Bytes of one padded row. Throws std::overflow_error beyond the 32-bit range.
    std::int32_t BytesPerScanLine() const;
    const BitmapInfoHeader& header() const { return header_; }
    const std::array<RgbQuad, 256>& colourTable() const { return colours_; }

    // Makes an empty picture (colour index 0 / black) with a grey ramp as colour table below
    // 24 bits. False for any other depth or a size that cannot be held; overflow of the row
    // or image size throws std::overflow_error. Whatever the object held is freed first.
    bool Create(std::int32_t lWidth, std::int32_t lHeight, std::int16_t iBitCount);
    // Copies a picture object; iBitCount 0 takes the picture's depth (16 becomes 24) and
    // hands the chosen depth back.
    bool CopyStdPicture(const StdPicture& TheStdPicture, std::int16_t& iBitCount);
    // Copies lWidth x lHeight from the surface at (lSrcLeft, lSrcTop); iBitCount 0 chooses the
    // depth from the surface's colour table (none: 24 bits).
    bool CopyHDC(const Surface& lHDC, std::int32_t lWidth, std::int32_t lHeight,
                 std::int16_t iBitCount, std::int32_t lSrcLeft, std::int32_t lSrcTop);
    // Takes the surface's colour table; true when every entry read could be written.
    bool CopyPalletHDC(const Surface& lHDC);
    bool CopyPalletHDC(const cImage& source);
    // Draws the whole picture onto the surface at (lDestLeft, lDestTop), clipped to it.
    void PaintHDC(Surface& lHDC, std::int32_t lDestLeft, std::int32_t lDestTop,
                  RasterOp eRop = RasterOp::SrcCopy) const;

    // Derived pictures: each a new object; none (nullopt) when it cannot be made.
    std::optional<cImage> GreyScale() const;
    std::optional<cImage> Resample(std::int32_t lWidth, std::int32_t lHeight) const;
    std::optional<cImage> Mirror(bool Vertical) const;
    std::optional<cImage> rotate(std::int32_t Degrees) const;

    // The picture as a surface (top-down colours, colour table below 24 bits).
    Surface toSurface() const;
    // Pixel access in picture coordinates (y = 0 is the top row).
    Colour colourAt(int x, int y) const;
    std::uint32_t valueAt(int x, int y) const; // index below 24 bits, colour at 24
    void setValueAt(int x, int y, std::uint32_t value);
    // Writes entries of the colour table (clipped to 2^bitcount); returns how many.
    int setColourTable(int first, const std::vector<RgbQuad>& entries);

  private:
    void release();
    std::uint8_t* rowAt(int y) { return pixels_.data() + std::size_t(height() - 1 - y) * stride_; }
    const std::uint8_t* rowAt(int y) const {
        return pixels_.data() + std::size_t(height() - 1 - y) * stride_;
    }
    int nearestIndex(Colour c) const;
    void blockCopyFrom(const Surface& source, int srcLeft, int srcTop, int w, int h);
    // A new object of this one's depth and (below 24 bits) colour table.
    std::optional<cImage> sameKind(std::int32_t w, std::int32_t h) const;

    BitmapInfoHeader header_;
    std::array<RgbQuad, 256> colours_{};
    std::vector<std::uint8_t> pixels_;
    std::size_t stride_ = 0;
};

} // namespace imaging
