#include "imaging/cimage.h"

#include "imaging/rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>
#include <unordered_map>

namespace imaging {

namespace {

std::int32_t checked32(std::int64_t v) {
    if (v > std::numeric_limits<std::int32_t>::max() ||
        v < std::numeric_limits<std::int32_t>::min())
        throw std::overflow_error("Overflow");
    return std::int32_t(v);
}

// Row length in bytes for a depth, rounded up to whole 32-bit words.
std::int32_t scanLine(std::int64_t w, int bits) {
    std::int64_t v;
    switch (bits) {
    case 1:
        v = checked32((w - 1) / 8 + 4);
        break;
    case 4:
        v = checked32((w - 1) / 2 + 4);
        break;
    case 8:
        v = checked32(w + 3);
        break;
    default:
        v = checked32(3 * w + 3);
        break;
    }
    return std::int32_t(v & ~std::int64_t(3));
}

Colour quadColour(const RgbQuad& q) {
    return MakeColour(q.red, q.green, q.blue);
}
int red(Colour c) {
    return int((c >> 16) & 0xFF);
}
int green(Colour c) {
    return int((c >> 8) & 0xFF);
}
int blue(Colour c) {
    return int(c & 0xFF);
}

} // namespace

std::int32_t cImage::BytesPerScanLine() const {
    return scanLine(width(), bitcount());
}

void cImage::release() {
    pixels_.clear();
    pixels_.shrink_to_fit();
    stride_ = 0;
    header_ = BitmapInfoHeader{};
}

bool cImage::Create(std::int32_t lWidth, std::int32_t lHeight, std::int16_t iBitCount) {
    release();
    if (iBitCount != 1 && iBitCount != 4 && iBitCount != 8 && iBitCount != 24)
        return false;
    const std::int32_t line = scanLine(lWidth, iBitCount);
    const std::int32_t imageSize = checked32(std::int64_t(lHeight) * line);
    // No pixel buffer can be made for an empty or upside-down size.
    if (lWidth <= 0 || lHeight <= 0)
        return false;
    try {
        pixels_.assign(std::size_t(imageSize), 0);
    } catch (const std::bad_alloc&) {
        release();
        return false;
    }
    header_.biWidth = lWidth;
    header_.biHeight = lHeight;
    header_.biBitCount = iBitCount;
    header_.biSizeImage = imageSize;
    stride_ = std::size_t(line);
    colours_.fill(RgbQuad{});
    if (iBitCount < 24) {
        const int last = (1 << iBitCount) - 1;
        for (int i = 0; i <= last; ++i) {
            const auto g = std::uint8_t((i * 255 + last / 2) / last);
            colours_[i] = RgbQuad{g, g, g, 0};
        }
    }
    return true;
}

std::uint32_t cImage::valueAt(int x, int y) const {
    const std::uint8_t* row = rowAt(y);
    switch (bitcount()) {
    case 1:
        return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4:
        return (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF;
    case 8:
        return row[x];
    default: {
        const std::uint8_t* p = row + 3 * std::size_t(x);
        return Colour(p[0]) | (Colour(p[1]) << 8) | (Colour(p[2]) << 16);
    }
    }
}

void cImage::setValueAt(int x, int y, std::uint32_t value) {
    std::uint8_t* row = rowAt(y);
    switch (bitcount()) {
    case 1: {
        const int shift = 7 - x % 8;
        row[x / 8] = std::uint8_t((row[x / 8] & ~(1 << shift)) | ((value & 1) << shift));
        break;
    }
    case 4: {
        const int shift = x % 2 == 0 ? 4 : 0;
        row[x / 2] = std::uint8_t((row[x / 2] & ~(0xF << shift)) | ((value & 0xF) << shift));
        break;
    }
    case 8:
        row[x] = std::uint8_t(value);
        break;
    default: {
        std::uint8_t* p = row + 3 * std::size_t(x);
        p[0] = std::uint8_t(value);
        p[1] = std::uint8_t(value >> 8);
        p[2] = std::uint8_t(value >> 16);
    }
    }
}

Colour cImage::colourAt(int x, int y) const {
    const std::uint32_t v = valueAt(x, y);
    return bitcount() < 24 ? quadColour(colours_[v]) : Colour(v);
}

// The platform's colour matching: the table entry nearest in red-green-blue distance, the
// first one on a tie.
int cImage::nearestIndex(Colour c) const {
    const int n = 1 << bitcount();
    int best = 0;
    long bestDistance = std::numeric_limits<long>::max();
    for (int i = 0; i < n; ++i) {
        const long dr = red(c) - colours_[i].red, dg = green(c) - colours_[i].green,
                   db = blue(c) - colours_[i].blue;
        const long d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

int cImage::setColourTable(int first, const std::vector<RgbQuad>& entries) {
    if (pixels_.empty() || bitcount() >= 24 || first < 0)
        return 0;
    const int n = 1 << bitcount();
    int written = 0;
    for (std::size_t i = 0; i < entries.size() && first + int(i) < n; ++i, ++written)
        colours_[first + i] = entries[i];
    return written;
}

void cImage::blockCopyFrom(const Surface& source, int srcLeft, int srcTop, int w, int h) {
    std::unordered_map<Colour, int> matched; // colour matching is slow; pictures repeat colours
    for (int y = 0; y < std::min(h, height()); ++y)
        for (int x = 0; x < std::min(w, width()); ++x) {
            const std::int64_t sx = std::int64_t(srcLeft) + x, sy = std::int64_t(srcTop) + y;
            if (sx < 0 || sy < 0 || sx >= source.width || sy >= source.height)
                continue;
            const Colour c = source.at(int(sx), int(sy)) & 0xFFFFFF;
            if (bitcount() >= 24) {
                setValueAt(x, y, c);
            } else {
                auto it = matched.find(c);
                if (it == matched.end())
                    it = matched.emplace(c, nearestIndex(c)).first;
                setValueAt(x, y, std::uint32_t(it->second));
            }
        }
}

bool cImage::CopyStdPicture(const StdPicture& TheStdPicture, std::int16_t& iBitCount) {
    const Surface& bitmap = TheStdPicture.bitmap;
    const bool automatic = iBitCount == 0;
    if (automatic)
        iBitCount =
            std::int16_t(TheStdPicture.bitsPerPixel == 16 ? 24 : TheStdPicture.bitsPerPixel);
    if (bitmap.width < 0 || bitmap.height < 0 ||
        bitmap.pixels.size() != std::size_t(bitmap.width) * std::size_t(bitmap.height))
        return false;
    if (!Create(bitmap.width, bitmap.height, iBitCount))
        return false;
    if (bitcount() < 24 && automatic && !bitmap.colourTable.empty()) {
        const std::size_t n = std::min<std::size_t>(bitmap.colourTable.size(), 1u << bitcount());
        setColourTable(0, std::vector<RgbQuad>(bitmap.colourTable.begin(),
                                               bitmap.colourTable.begin() + std::ptrdiff_t(n)));
    }
    blockCopyFrom(bitmap, 0, 0, bitmap.width, bitmap.height);
    return true;
}

bool cImage::CopyHDC(const Surface& lHDC, std::int32_t lWidth, std::int32_t lHeight,
                     std::int16_t iBitCount, std::int32_t lSrcLeft, std::int32_t lSrcTop) {
    std::vector<RgbQuad> table;
    if (iBitCount == 0) {
        const std::size_t n = std::min<std::size_t>(lHDC.colourTable.size(), 256);
        table.assign(lHDC.colourTable.begin(), lHDC.colourTable.begin() + std::ptrdiff_t(n));
        iBitCount = n == 0 ? 24 : (n <= 2 ? 1 : (n <= 16 ? 4 : 8));
    }
    if (!Create(lWidth, lHeight, iBitCount))
        return false;
    if (!table.empty())
        setColourTable(0, table);
    blockCopyFrom(lHDC, lSrcLeft, lSrcTop, lWidth, lHeight);
    return true;
}

bool cImage::CopyPalletHDC(const Surface& lHDC) {
    if (pixels_.empty())
        return false;
    const std::size_t limit = bitcount() < 24 ? (1u << bitcount()) : 256;
    const std::size_t n = std::min(lHDC.colourTable.size(), limit);
    if (n == 0)
        return false;
    const int written =
        setColourTable(0, std::vector<RgbQuad>(lHDC.colourTable.begin(),
                                               lHDC.colourTable.begin() + std::ptrdiff_t(n)));
    return std::size_t(written) == n;
}

bool cImage::CopyPalletHDC(const cImage& source) {
    Surface table;
    if (!source.pixels_.empty() && source.bitcount() < 24)
        table.colourTable.assign(source.colours_.begin(),
                                 source.colours_.begin() + (1 << source.bitcount()));
    return CopyPalletHDC(table);
}

Surface cImage::toSurface() const {
    Surface s(width(), height());
    for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x)
            s.at(x, y) = colourAt(x, y);
    if (!pixels_.empty() && bitcount() < 24)
        s.colourTable.assign(colours_.begin(), colours_.begin() + (1 << bitcount()));
    return s;
}

void cImage::PaintHDC(Surface& lHDC, std::int32_t lDestLeft, std::int32_t lDestTop,
                      RasterOp eRop) const {
    for (int y = 0; y < height(); ++y) {
        const std::int64_t dy = std::int64_t(lDestTop) + y;
        if (dy < 0 || dy >= lHDC.height)
            continue;
        for (int x = 0; x < width(); ++x) {
            const std::int64_t dx = std::int64_t(lDestLeft) + x;
            if (dx < 0 || dx >= lHDC.width)
                continue;
            const Colour s = colourAt(x, y);
            Colour& d = lHDC.at(int(dx), int(dy));
            switch (eRop) {
            case RasterOp::SrcPaint:
                d = (s | d) & 0xFFFFFF;
                break;
            case RasterOp::SrcAnd:
                d = s & d & 0xFFFFFF;
                break;
            case RasterOp::SrcInvert:
                d = (s ^ d) & 0xFFFFFF;
                break;
            case RasterOp::NotSrcCopy:
                d = ~s & 0xFFFFFF;
                break;
            case RasterOp::Blackness:
                d = 0;
                break;
            case RasterOp::Whiteness:
                d = 0xFFFFFF;
                break;
            default:
                d = s;
                break;
            }
        }
    }
}

std::optional<cImage> cImage::sameKind(std::int32_t w, std::int32_t h) const {
    if (pixels_.empty())
        return std::nullopt;
    cImage r;
    try {
        if (!r.Create(w, h, bitcount()))
            return std::nullopt;
    } catch (const std::overflow_error&) {
        return std::nullopt;
    }
    if (bitcount() < 24)
        r.CopyPalletHDC(*this);
    return r;
}

std::optional<cImage> cImage::GreyScale() const {
    if (pixels_.empty())
        return std::nullopt;
    cImage r;
    if (!r.Create(width(), height(), 8))
        return std::nullopt;
    // The nearest grey of the 256-step ramp is the rounded mean of the three channels.
    for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x) {
            const Colour c = colourAt(x, y);
            r.setValueAt(x, y, std::uint32_t((red(c) + green(c) + blue(c) + 1) / 3));
        }
    return r;
}

namespace {

// Area averaging along one axis: for each new position, the old positions it covers and how
// much of each (the shares of one new pixel add up to old size / new size).
struct Cover {
    int from;
    std::vector<double> shares;
};
std::vector<Cover> covers(int oldSize, int newSize) {
    std::vector<Cover> out(static_cast<std::size_t>(newSize));
    const double scale = double(oldSize) / newSize;
    for (int j = 0; j < newSize; ++j) {
        const double a = j * scale, b = (j + 1) * scale;
        const int first = int(std::floor(a));
        const int last = std::min(oldSize - 1, int(std::ceil(b)) - 1);
        out[j].from = first;
        for (int i = first; i <= last; ++i)
            out[j].shares.push_back(std::min(b, double(i + 1)) - std::max(a, double(i)));
    }
    return out;
}

} // namespace

std::optional<cImage> cImage::Resample(std::int32_t lWidth, std::int32_t lHeight) const {
    std::optional<cImage> r = sameKind(lWidth, lHeight);
    if (!r)
        return std::nullopt;
    if (lWidth == width() && lHeight == height()) {
        r->pixels_ = pixels_;
        return r;
    }
    const std::vector<Cover> across = covers(width(), lWidth), down = covers(height(), lHeight);
    const double area = (double(width()) / lWidth) * (double(height()) / lHeight);
    // First along the rows (old height x new width), then down the columns.
    std::vector<double> rows(std::size_t(height()) * lWidth * 3);
    for (int y = 0; y < height(); ++y)
        for (int j = 0; j < lWidth; ++j) {
            double s[3] = {0, 0, 0};
            for (std::size_t k = 0; k < across[j].shares.size(); ++k) {
                const Colour c = colourAt(across[j].from + int(k), y);
                s[0] += across[j].shares[k] * blue(c);
                s[1] += across[j].shares[k] * green(c);
                s[2] += across[j].shares[k] * red(c);
            }
            std::copy(s, s + 3, &rows[(std::size_t(y) * lWidth + j) * 3]);
        }
    std::unordered_map<Colour, int> matched;
    for (int i = 0; i < lHeight; ++i)
        for (int j = 0; j < lWidth; ++j) {
            double s[3] = {0, 0, 0};
            for (std::size_t k = 0; k < down[i].shares.size(); ++k)
                for (int c = 0; c < 3; ++c)
                    s[c] += down[i].shares[k] *
                            rows[(std::size_t(down[i].from + int(k)) * lWidth + j) * 3 + c];
            int v[3];
            for (int c = 0; c < 3; ++c)
                v[c] = std::clamp(int(roundEven(s[c] / area)), 0, 255);
            const Colour colour = MakeColour(v[2], v[1], v[0]);
            if (bitcount() >= 24) {
                r->setValueAt(j, i, colour);
            } else {
                auto it = matched.find(colour);
                if (it == matched.end())
                    it = matched.emplace(colour, r->nearestIndex(colour)).first;
                r->setValueAt(j, i, std::uint32_t(it->second));
            }
        }
    return r;
}

std::optional<cImage> cImage::Mirror(bool Vertical) const {
    std::optional<cImage> r = sameKind(width(), height());
    if (!r)
        return std::nullopt;
    const int w = width(), h = height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            r->setValueAt(x, y, Vertical ? valueAt(x, h - 1 - y) : valueAt(w - 1 - x, y));
    return r;
}

std::optional<cImage> cImage::rotate(std::int32_t Degrees) const {
    int angle = Degrees % 360;
    if (angle < 0)
        angle += 360;
    if (angle != 90 && angle != 91 && angle != 180 && angle != 270)
        return std::nullopt;
    const int w = width(), h = height();
    std::optional<cImage> r = (angle == 90 || angle == 270) ? sameKind(h, w) : sameKind(w, h);
    if (!r)
        return std::nullopt;
    for (int y = 0; y < r->height(); ++y)
        for (int x = 0; x < r->width(); ++x) {
            int ox = 0, oy = 0;
            switch (angle) {
            case 90:
                ox = w - 1 - y, oy = x;
                break; // a quarter turn anticlockwise
            case 180:
                ox = w - 1 - x, oy = h - 1 - y;
                break;
            case 270:
                ox = y, oy = h - 1 - x;
                break; // a quarter turn clockwise
            default:
                // The anticlockwise quarter turn stretched over the old frame, sampled at
                // pixel centres: old x runs right to left down the new picture, old y along it.
                ox = std::clamp(int(std::floor((h - (y + 0.5)) * w / h)), 0, w - 1);
                oy = std::clamp(int(std::floor((x + 0.5) * h / w)), 0, h - 1);
                break;
            }
            r->setValueAt(x, y, valueAt(ox, oy));
        }
    return r;
}

} // namespace imaging
