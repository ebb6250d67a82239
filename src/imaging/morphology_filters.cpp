// Rank filters (dilate, erode, edge detect), random displacement (diffuse), and the filters
// that no menu requests: mosaic, ordered dither, level stretch, error diffusion, sharpened
// threshold and the Kuwahara quadrant mean.
#include "imaging/byte_tables.h"
#include "imaging/random.h"
#include "imaging/window_rows.h"

#include <array>
#include <memory>
#include <numeric>

namespace imaging::detail {

namespace {

inline std::uint8_t max3(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    return std::max(a, std::max(b, c));
}
inline std::uint8_t min3(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    return std::min(a, std::min(b, c));
}
inline std::uint8_t windowMax(const std::uint8_t* u, const std::uint8_t* m, const std::uint8_t* d,
                              int i) {
    return max3(max3(u[i - 4], u[i], u[i + 4]), max3(m[i - 4], m[i], m[i + 4]),
                max3(d[i - 4], d[i], d[i + 4]));
}
inline std::uint8_t windowMin(const std::uint8_t* u, const std::uint8_t* m, const std::uint8_t* d,
                              int i) {
    return min3(min3(u[i - 4], u[i], u[i + 4]), min3(m[i - 4], m[i], m[i + 4]),
                min3(d[i - 4], d[i], d[i + 4]));
}

// An error-diffusion pattern: the weights (over the divisor) of the shares of an error, for
// x + 1 and x + 2 in the same row and x - 2 .. x + 2 in each row below that it reaches.
struct Pattern {
    int divisor;
    int rowsBelow;
    int ahead[2];
    int below[2][5];
};
constexpr Pattern kFloydSteinberg{16, 1, {7, 0}, {{0, 3, 5, 1, 0}, {0, 0, 0, 0, 0}}};
constexpr Pattern kBurkes{32, 1, {8, 4}, {{2, 4, 8, 4, 2}, {0, 0, 0, 0, 0}}};
constexpr Pattern kStucki{42, 2, {8, 4}, {{2, 4, 8, 4, 2}, {1, 2, 4, 2, 1}}};

// The error scale: error x 10 \ scale, reduced by their common factor first (the same
// quotient), so the usual scale of 10 needs no division at all.
struct ErrorScale {
    explicit ErrorScale(std::int32_t scale)
        : factor(10 / int(std::gcd(std::int64_t(10), std::int64_t(scale)))),
          divisor(std::int32_t(scale / std::gcd(std::int64_t(10), std::int64_t(scale)))),
          divide(divisor) {}
    int operator()(int error) const {
        const int n = error * factor;
        return divisor == 1 ? n : divide(n);
    }
    int factor;
    std::int32_t divisor;
    Divider divide;
};

// What pixel value v leaves behind once set to black (below the mean) or white: each share
// of that error by its weight (0 .. 8), looked up by v. The division stays off the chain that
// runs from pixel to pixel, and the weights a pattern repeats are one table.
template <const Pattern& P> struct Shares {
    explicit Shares(int mean) {
        for (int v = 0; v < 256; ++v) {
            const int e = v - (v < mean ? 0 : 255);
            for (int weight = 0; weight < 9; ++weight)
                byWeight[weight][v] = e * weight / P.divisor; // toward zero, each by itself
        }
    }
    std::array<std::array<int, 256>, 9> byWeight;
};

template <const Pattern& P>
IMAGING_INLINE void diffuseErrors(FilterRun& run, int firstStep, std::int32_t parameter) {
    const int w = run.width, h = run.height;
    constexpr int kRows = P.rowsBelow + 1;
    // Error rows padded by two entries each side: shares beside the picture land in the
    // padding and are never read, so they are dropped. The current row is rows[0].
    const std::size_t stride = std::size_t(w) + 4;
    std::vector<int> storage(stride * kRows, 0);
    int* rows[kRows];
    for (int r = 0; r < kRows; ++r)
        rows[r] = storage.data() + stride * r + 2;
    if (!run.report(firstStep))
        return;
    const int mean = meanGrey(run);
    if (!run.report(10))
        return;
    const ErrorScale scaled(parameter);
    const auto shares = std::make_unique<Shares<P>>(mean);
    // The usual scale of 10 leaves the error as it is: no multiplication on the chain.
    auto walk = [&](auto unitScale) {
        for (int y = 0; y < h; ++y) {
            std::uint8_t* p = run.row(y);
            const int* current = rows[0];
            // The shares for x + 1 and x + 2 of this row ride along in registers, and so do those
            // for x - 2 .. x + 1 of each row below: entry x - 2 is complete after pixel x.
            int ahead1 = 0, ahead2 = 0;
            int next[4] = {0, 0, 0, 0}, after[4] = {0, 0, 0, 0};
            int* nextRow = rows[1];
            int* afterRow = kRows > 2 ? rows[kRows - 1] : nullptr;
            for (int x = 0; x < w; ++x, p += 4) {
                const int g = (p[0] + p[1] + p[2]) / 3;
                const int error = current[x] + ahead1;
                const int v = clampByte(g + (unitScale ? error : scaled(error)));
                p[0] = p[1] = p[2] = std::uint8_t(v < mean ? 0 : 255);
                const auto& share = shares->byWeight;
                ahead1 = ahead2 + share[P.ahead[0]][v];
                ahead2 = share[P.ahead[1]][v];
                nextRow[x - 2] += next[0] + share[P.below[0][0]][v];
                next[0] = next[1] + share[P.below[0][1]][v];
                next[1] = next[2] + share[P.below[0][2]][v];
                next[2] = next[3] + share[P.below[0][3]][v];
                next[3] = share[P.below[0][4]][v];
                if constexpr (kRows > 2) {
                    afterRow[x - 2] += after[0] + share[P.below[1][0]][v];
                    after[0] = after[1] + share[P.below[1][1]][v];
                    after[1] = after[2] + share[P.below[1][2]][v];
                    after[2] = after[3] + share[P.below[1][3]][v];
                    after[3] = share[P.below[1][4]][v];
                }
            }
            // What is left belongs to the last two entries (and to the padding after them).
            nextRow[w - 2] += next[0];
            nextRow[w - 1] += next[1];
            if constexpr (kRows > 2) {
                afterRow[w - 2] += after[0];
                afterRow[w - 1] += after[1];
            }
            // The next row's errors become the current row's; the last row starts empty.
            int* done = rows[0];
            for (int r = 0; r + 1 < kRows; ++r)
                rows[r] = rows[r + 1];
            rows[kRows - 1] = done;
            std::fill(done - 2, done - 2 + stride, 0);
            if (!run.rowDone(y, 10, 100))
                return false;
        }
        return true;
    };
    const bool walked = scaled.factor == 1 && scaled.divisor == 1 ? walk(std::true_type{})
                                                                  : walk(std::false_type{});
    if (!walked)
        return;
    run.finish();
}

// Smallest and largest byte at each of 64 positions over whole runs of 64 bytes.
IMAGING_VECTOR_CLONES void foldMinMax(const std::uint8_t* __restrict p, std::size_t bytes,
                                      std::uint8_t* __restrict lo, std::uint8_t* __restrict hi) {
    using Bytes32 = std::uint8_t __attribute__((vector_size(32)));
    Bytes32 l0, l1, h0, h1;
    std::memcpy(&l0, lo, 32);
    std::memcpy(&l1, lo + 32, 32);
    std::memcpy(&h0, hi, 32);
    std::memcpy(&h1, hi + 32, 32);
    for (std::size_t i = 0; i < bytes; i += 64) {
        Bytes32 a, b;
        std::memcpy(&a, p + i, 32);
        std::memcpy(&b, p + i + 32, 32);
        l0 = a < l0 ? a : l0;
        l1 = b < l1 ? b : l1;
        h0 = a > h0 ? a : h0;
        h1 = b > h1 ? b : h1;
    }
    std::memcpy(lo, &l0, 32);
    std::memcpy(lo + 32, &l1, 32);
    std::memcpy(hi, &h0, 32);
    std::memcpy(hi + 32, &h1, 32);
}

IMAGING_VECTOR_CLONES void dilateRow(const Row3& r) {
    eachByte3(r, [](const std::uint8_t* u, const std::uint8_t* m, const std::uint8_t* d,
                    const std::int16_t*, int i) { return windowMax(u, m, d, i); });
}

IMAGING_VECTOR_CLONES void erodeRow(const Row3& r) {
    eachByte3(r, [](const std::uint8_t* u, const std::uint8_t* m, const std::uint8_t* d,
                    const std::int16_t*, int i) { return windowMin(u, m, d, i); });
}

// The centre is read before it is replaced, so it equals the unchanged value.
IMAGING_VECTOR_CLONES void edgeDetectRow(const Row3& r) {
    eachByte3(r, [](const std::uint8_t* u, const std::uint8_t* m, const std::uint8_t* d,
                    const std::int16_t*, int i) { return m[i] - windowMin(u, m, d, i); });
}

// clamp((10 x C - N8) \ 2) per channel.
IMAGING_VECTOR_CLONES void sharpenRow(const Row3& r) {
    eachByte3(r, [](const std::uint8_t* u, const std::uint8_t* m, const std::uint8_t* d,
                    const std::int16_t*, int i) {
        const int n8 =
            u[i - 4] + u[i] + u[i + 4] + m[i - 4] + m[i + 4] + d[i - 4] + d[i] + d[i + 4];
        return clampByte((10 * m[i] - n8) / 2);
    });
}

// The grey of each pixel of a row, (B + G + R) \ 3.
IMAGING_VECTOR_CLONES void greyRow(const std::uint8_t* p, int width, int* grey) {
    for (int x = 0; x < width; ++x) {
        std::uint32_t v;
        std::memcpy(&v, p + 4 * std::size_t(x), 4);
        grey[x] = int(((v & 0xFF) + ((v >> 8) & 0xFF) + ((v >> 16) & 0xFF)) / 3);
    }
}

// The mean and spread (sum of absolute differences from the mean) of every 3 x 3 region of
// rows a, b, c, by the column of its top-left byte (begin .. end-1). Each region is the
// upper-right one of the byte at its left, the upper-left one of the byte 8 further on, and
// the lower ones of the bytes two rows up: it is worked out once for all four.
IMAGING_VECTOR_CLONES void regionRow(const std::uint8_t* a, const std::uint8_t* b,
                                     const std::uint8_t* c, int begin, int end,
                                     std::uint16_t* means, std::uint16_t* spreads) {
    const std::uint8_t* __restrict ra = a;
    const std::uint8_t* __restrict rb = b;
    const std::uint8_t* __restrict rc = c;
    std::uint16_t* __restrict m = means;
    std::uint16_t* __restrict s = spreads;
    for (int j = begin; j < end; ++j) {
        // Written out, not looped: the loop over the row's bytes is the one to vectorise.
        const int a0 = ra[j], a1 = ra[j + 4], a2 = ra[j + 8];
        const int b0 = rb[j], b1 = rb[j + 4], b2 = rb[j + 8];
        const int c0 = rc[j], c1 = rc[j + 4], c2 = rc[j + 8];
        const int mean = (a0 + a1 + a2 + b0 + b1 + b2 + c0 + c1 + c2) / 9;
        m[j] = std::uint16_t(mean);
        s[j] = std::uint16_t(std::abs(a0 - mean) + std::abs(a1 - mean) + std::abs(a2 - mean) +
                             std::abs(b0 - mean) + std::abs(b1 - mean) + std::abs(b2 - mean) +
                             std::abs(c0 - mean) + std::abs(c1 - mean) + std::abs(c2 - mean));
    }
}

// The regions of one band of three rows: mean and spread by top-left byte.
struct Regions {
    std::vector<std::uint16_t> mean;
    std::vector<std::uint16_t> spread;
};

// Each byte takes the mean of the calmest of the four 3 x 3 regions that have it at a corner
// (upper left, upper right, lower left, lower right; the first wins a tie).
IMAGING_VECTOR_CLONES void kuwaharaRow(const Regions& upper, const Regions& lower,
                                       const std::uint8_t* mid, std::uint8_t* out,
                                       const std::uint8_t* keep, int begin, int end) {
    const std::uint16_t* __restrict um = upper.mean.data();
    const std::uint16_t* __restrict us = upper.spread.data();
    const std::uint16_t* __restrict lm = lower.mean.data();
    const std::uint16_t* __restrict ls = lower.spread.data();
    const std::uint8_t* __restrict m = mid;
    const std::uint8_t* __restrict k = keep;
    std::uint8_t* __restrict o = out;
    for (int i = begin; i < end; ++i) {
        // Everything loaded first: a load inside a choice would keep the loop from vectorising.
        const std::uint16_t s2 = us[i], s3 = ls[i - 8], s4 = ls[i];
        const std::uint16_t m2 = um[i], m3 = lm[i - 8], m4 = lm[i];
        std::uint16_t best = us[i - 8], mean = um[i - 8];
        mean = s2 < best ? m2 : mean;
        best = s2 < best ? s2 : best;
        mean = s3 < best ? m3 : mean;
        best = s3 < best ? s3 : best;
        mean = s4 < best ? m4 : mean;
        o[i] = std::uint8_t((std::uint8_t(mean) & ~k[i]) | (m[i] & k[i]));
    }
}

} // namespace

IMAGING_VECTOR_CLONES void FilterDilate(FilterRun& run) {
    window3x3(run, dilateRow);
}

IMAGING_VECTOR_CLONES void FilterErode(FilterRun& run) {
    window3x3(run, erodeRow);
}

IMAGING_VECTOR_CLONES void FilterEdgeDetect(FilterRun& run) {
    window3x3(run, edgeDetectRow);
}

IMAGING_VECTOR_CLONES void FilterDiffuse(FilterRun& run, std::int32_t parameter) {
    const double p = parameter;
    const double half = roundEven(p / 2.0);
    const int w = run.width, h = run.height;
    std::vector<float> draws(std::size_t(w) * 2); // one row's numbers, two per pixel
    for (int y = 0; y < h; ++y) {
        std::uint8_t* out = run.row(y);
        FillUniform(draws.data(), draws.size());
        for (int x = 0; x < w; ++x) {
            // |p x u - half| stays below 2^33: the 64-bit conversion is exact.
            const auto dx = std::int64_t(roundEven(p * draws[2 * std::size_t(x)] - half));
            const auto dy = std::int64_t(roundEven(p * draws[2 * std::size_t(x) + 1] - half));
            // Each direction is tested on its own: near an edge a pixel may still move along it.
            const int sx = (x + dx < 0 || x + dx > w - 1) ? x : x + int(dx);
            const int sy = (y + dy < 0 || y + dy > h - 1) ? y : y + int(dy);
            const std::uint8_t* from = run.row(sy) + 4 * std::size_t(sx);
            out[4 * x] = from[0];
            out[4 * x + 1] = from[1];
            out[4 * x + 2] = from[2];
        }
        if (!run.rowDone(y))
            return;
    }
    run.finish();
}

IMAGING_VECTOR_CLONES void FilterMosaic(FilterRun& run, std::int32_t parameter) {
    const std::int64_t block = parameter; // at least 1: the engine turns smaller ones away
    const int w = run.width, h = run.height;
    const std::size_t blocks = w > 0 ? std::size_t((w + block - 1) / block) : 0;
    // Per block of the band: the sum of each channel; blocks are clipped to the picture.
    std::vector<std::uint64_t> sums(blocks * 3);
    std::vector<std::array<std::uint8_t, 3>> means(blocks);
    for (std::int64_t top = 0; top < h; top += block) {
        const int bottom = int(std::min<std::int64_t>(h, top + block));
        std::fill(sums.begin(), sums.end(), 0);
        for (int y = int(top); y < bottom; ++y) {
            const std::uint8_t* p = run.row(y);
            for (std::size_t b = 0; b < blocks; ++b) {
                const int left = int(std::int64_t(b) * block);
                const int right = int(std::min<std::int64_t>(w, left + block));
                std::uint64_t s0 = 0, s1 = 0, s2 = 0;
                for (int x = left; x < right; ++x) {
                    s0 += p[4 * x];
                    s1 += p[4 * x + 1];
                    s2 += p[4 * x + 2];
                }
                sums[b * 3] += s0;
                sums[b * 3 + 1] += s1;
                sums[b * 3 + 2] += s2;
            }
        }
        for (std::size_t b = 0; b < blocks; ++b) {
            const std::int64_t left = std::int64_t(b) * block;
            const std::int64_t count =
                (std::min<std::int64_t>(w, left + block) - left) * (bottom - top);
            for (int c = 0; c < 3; ++c)
                means[b][c] = std::uint8_t(sums[b * 3 + c] / std::uint64_t(count));
        }
        for (int y = int(top); y < bottom; ++y) {
            std::uint8_t* p = run.row(y);
            for (std::size_t b = 0; b < blocks; ++b) {
                const int left = int(std::int64_t(b) * block);
                const int right = int(std::min<std::int64_t>(w, left + block));
                const std::array<std::uint8_t, 3>& m = means[b];
                for (int x = left; x < right; ++x) {
                    p[4 * x] = m[0];
                    p[4 * x + 1] = m[1];
                    p[4 * x + 2] = m[2];
                }
            }
            if (!run.rowDone(y))
                return;
        }
    }
    run.finish();
}

IMAGING_VECTOR_CLONES void FilterOrderedDither(FilterRun& run) {
    static constexpr std::uint8_t kThreshold[4][4] = {
        {1, 13, 4, 16}, {9, 5, 12, 8}, {3, 15, 2, 14}, {11, 7, 10, 6}};
    const int w = run.width;
    for (int y = 0; y < run.height; ++y) {
        std::uint8_t* p = run.row(y);
        const std::uint8_t* t = kThreshold[y % 4];
        for (int x = 0; x < w; ++x, p += 4) {
            const int level = (p[0] + p[1] + p[2]) / 48 + 1;
            const std::uint8_t v = level < t[x % 4] ? 0 : 255;
            p[0] = p[1] = p[2] = v;
        }
        if (!run.rowDone(y))
            return;
    }
    run.finish();
}

IMAGING_VECTOR_CLONES void FilterStretchLevels(FilterRun& run) {
    const int w = run.width, h = run.height;
    // Smallest and largest byte per position of a 64-byte run (16 pixels), folded per channel
    // at the end: the loop vectorises.
    std::uint8_t lo64[64], hi64[64];
    std::fill(lo64, lo64 + 64, 255);
    std::fill(hi64, hi64 + 64, 0);
    const std::size_t bytes = run.rowBytes(), whole = bytes / 64 * 64;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* p = run.row(y);
        foldMinMax(p, whole, lo64, hi64);
        for (std::size_t i = whole; i < bytes; ++i) {
            lo64[i % 64] = std::min(lo64[i % 64], p[i]);
            hi64[i % 64] = std::max(hi64[i % 64], p[i]);
        }
        if (!run.rowDone(y, 0, 10))
            return;
    }
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    for (int k = 0; k < 64; ++k)
        if (k % 4 != 3) {
            lo[k % 4] = std::min<int>(lo[k % 4], lo64[k]);
            hi[k % 4] = std::max<int>(hi[k % 4], hi64[k]);
        }
    // A flat channel has nothing to stretch and keeps its values.
    std::array<std::array<std::uint8_t, 256>, 3> table;
    for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 256; ++v)
            table[c][v] = hi[c] > lo[c] ? std::uint8_t(nearestClamped(
                                              double((v - lo[c]) * 255) / (hi[c] - lo[c]), 0, 255))
                                        : std::uint8_t(v);
    if (!run.report(10))
        return;
    const ChannelTables tables{table[0].data(), table[1].data(), table[2].data()};
    for (int y = 0; y < h; ++y) {
        lookupRow(run.row(y), w, tables);
        if (!run.rowDone(y, 10, 100))
            return;
    }
    run.finish();
}

IMAGING_VECTOR_CLONES void FilterErrorDiffusion(FilterRun& run, int code, std::int32_t parameter) {
    if (code == 21)
        diffuseErrors<kFloydSteinberg>(run, 2, parameter);
    else if (code == 22)
        diffuseErrors<kBurkes>(run, 3, parameter);
    else
        diffuseErrors<kStucki>(run, 3, parameter);
}

IMAGING_VECTOR_CLONES void FilterSharpThreshold(FilterRun& run) {
    const int w = run.width, h = run.height;
    const std::size_t bytes = run.rowBytes();
    // The sharpening reads the unchanged picture: the row above and this row are saved before
    // they are overwritten.
    std::vector<std::uint8_t> saved(bytes * 2), sharp(bytes);
    std::vector<std::uint8_t> keep = fourthByteMask(w);
    std::vector<int> grey(static_cast<std::size_t>(w));
    std::uint8_t* above = saved.data();
    std::uint8_t* here = saved.data() + bytes;
    const int mean = meanGrey(run);
    if (!run.report(5))
        return;
    int carry = 0; // runs on across rows
    for (int y = 0; y < h; ++y) {
        if (bytes > 0)
            std::memcpy(here, run.row(y), bytes);
        // First the grey of every pixel, sharpened inside the border (vectorised) ...
        if (y >= 1 && y <= h - 2 && w >= 3) {
            std::memcpy(sharp.data(), here, bytes);
            sharpenRow(Row3{above, here, run.row(y + 1), sharp.data(), nullptr, keep.data(), 4,
                            4 * (w - 1)});
            greyRow(sharp.data(), w, grey.data());
        } else {
            greyRow(here, w, grey.data());
        }
        // ... then the threshold, whose carry runs from pixel to pixel.
        std::uint8_t* out = run.row(y);
        for (int x = 0; x < w; ++x) {
            const int v = clampByte(grey[std::size_t(x)] + carry);
            const int level = v < mean ? 0 : 255;
            out[4 * x] = out[4 * x + 1] = out[4 * x + 2] = std::uint8_t(level);
            carry = (v - level) / 4;
        }
        std::swap(above, here);
        if (!run.rowDone(y, 5, 100))
            return;
    }
    run.finish();
}

IMAGING_VECTOR_CLONES void FilterKuwahara(FilterRun& run) {
    const std::vector<std::uint8_t> keep = fourthByteMask(run.width);
    const int end = 4 * (run.width - 2);
    // The regions of the bands starting at rows y - 2, y - 1 and y, by band % 3.
    const std::size_t bytes = run.rowBytes();
    std::array<Regions, 3> bands;
    for (Regions& band : bands)
        band = {std::vector<std::uint16_t>(bytes), std::vector<std::uint16_t>(bytes)};
    auto regions = [&](int top, const std::uint8_t* const* rows) {
        Regions& band = bands[std::size_t(top % 3)];
        regionRow(rows[0], rows[1], rows[2], 0, end, band.mean.data(), band.spread.data());
    };
    int y = 2;
    windowRows<2>(run, [&](const std::uint8_t* const* rows, std::uint8_t* out) {
        if (y < 4) // the first two rows have no band above worked out yet
            regions(y - 2, rows);
        regions(y, rows + 2);
        kuwaharaRow(bands[std::size_t((y - 2) % 3)], bands[std::size_t(y % 3)], rows[2], out,
                    keep.data(), 8, end);
        ++y;
    });
}

} // namespace imaging::detail
