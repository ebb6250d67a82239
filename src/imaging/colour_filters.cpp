// Colour filters: each pixel from its own three channels alone. They read and write the same
// pixel only, so they work straight in the caller's buffer.
#include "imaging/byte_tables.h"
#include "imaging/filter_run.h"
#include "imaging/random.h"

#include <array>
#include <vector>

namespace imaging::detail {

namespace {

inline std::uint32_t load32(const std::uint8_t* p) {
    std::uint32_t w;
    std::memcpy(&w, p, 4);
    return w;
}
inline void store32(std::uint8_t* p, std::uint32_t w) {
    std::memcpy(p, &w, 4);
}

// Walks every row with `perRow(rowPointer, y)`, reporting progress after each.
template <class PerRow> IMAGING_INLINE void eachRow(FilterRun& run, PerRow perRow) {
    for (int y = 0; y < run.height; ++y) {
        perRow(run.row(y), y);
        if (!run.rowDone(y))
            return;
    }
    run.finish();
}

// One lookup table for all three channels.
IMAGING_INLINE void applyTable(FilterRun& run, const std::array<std::uint8_t, 256>& table) {
    const ChannelTables tables{table.data(), table.data(), table.data()};
    eachRow(run, [&](std::uint8_t* p, int) { lookupRow(p, run.width, tables); });
}

// Marks the pixels of a row with a channel outside first .. last (flag 1, else 0).
IMAGING_VECTOR_CLONES void flagOutside(const std::uint8_t* p, int width, std::uint8_t* flags,
                                       std::uint32_t first, std::uint32_t last) {
    const std::uint32_t span = last - first;
    for (int x = 0; x < width; ++x) {
        const std::uint32_t v = load32(p + 4 * std::size_t(x));
        const bool out = ((v & 0xFF) - first > span) | (((v >> 8) & 0xFF) - first > span) |
                         (((v >> 16) & 0xFF) - first > span);
        flags[x] = std::uint8_t(out);
    }
}

// The grey of a pixel: (B + G + R) \ 3.
constexpr std::array<std::uint8_t, 766> makeGreyTable() {
    std::array<std::uint8_t, 766> t{};
    for (int i = 0; i < 766; ++i)
        t[i] = std::uint8_t(i / 3);
    return t;
}
constexpr std::array<std::uint8_t, 766> kGrey = makeGreyTable();

// A channel pushed out of range hands half of its excess to the other two.
inline void balance(std::int64_t& b, std::int64_t& g, std::int64_t& r) {
    auto inRange = [](std::int64_t v) { return v >= 0 && v <= 255; };
    auto correct = [](std::int64_t& v, std::int64_t& o1, std::int64_t& o2) {
        if (v < 0) {
            const std::int64_t half = v / 2;
            o1 += half;
            o2 += half;
            v = 0;
        } else if (v > 255) {
            const std::int64_t half = (v - 255) / 2;
            o1 += half;
            o2 += half;
            v = 255;
        }
    };
    for (;;) {
        if (inRange(b) && inRange(g) && inRange(r))
            return;
        if (b < 1 && g < 1 && r < 1) {
            b = g = r = 0;
        } else if (b >= 255 && g >= 255 && r >= 255) {
            b = g = r = 255;
        } else {
            correct(b, g, r);
            correct(g, b, r);
            correct(r, b, g);
        }
    }
}

// The same balancing for eight pixels at once, lane by lane, in 32-bit lanes (values within
// +-2^28). A pass leaves a pixel already within range as it is, so every lane takes each pass
// and the range is checked after it, not before.
using Lanes = std::int32_t __attribute__((vector_size(32)));

// Whether any bit of any lane is set.
IMAGING_INLINE bool anySet(const Lanes& v) {
    std::uint64_t words[4];
    std::memcpy(words, &v, sizeof words);
    return (words[0] | words[1] | words[2] | words[3]) != 0;
}

// Clamps v to 0 .. 255 and hands half its excess, truncated toward zero, to o1 and o2.
IMAGING_INLINE void correctLanes(Lanes& v, Lanes& o1, Lanes& o2) {
    const Lanes zero = {}, top = zero + 255;
    const Lanes positive = v > zero ? v : zero;
    const Lanes clamped = positive < top ? positive : top;
    const Lanes excess = v - clamped;
    const Lanes half = (excess - (excess >> 31)) >> 1;
    o1 += half;
    o2 += half;
    v = clamped;
}

IMAGING_INLINE void balanceLanes(Lanes& b, Lanes& g, Lanes& r) {
    for (;;) {
        const Lanes allLow = (b < 1) & (g < 1) & (r < 1);
        const Lanes allHigh = (b >= 255) & (g >= 255) & (r >= 255);
        const Lanes keep = ~(allLow | allHigh), fill = allHigh & 255;
        b = (b & keep) | fill;
        g = (g & keep) | fill;
        r = (r & keep) | fill;
        correctLanes(b, g, r);
        correctLanes(g, b, r);
        correctLanes(r, b, g);
        // A lane is within range when no bit above the low byte is set in any channel.
        if (!anySet((b | g | r) & ~0xFF))
            return;
    }
}

// Finds the pixels of a row with a channel outside first .. last, in runs of eight, and works
// out the balanced values of each run that has one into `balanced` at the same places, from
// the row before the table lookup (`original`). Every pixel of such a run is flagged; those
// within range come out as the lookup gives them. A short run at the row's end goes pixel by
// pixel, colour bytes only.
IMAGING_VECTOR_CLONES void balanceOutside(const std::uint8_t* original, std::uint8_t* balanced,
                                          std::uint8_t* flags, int width, const std::int32_t* curve,
                                          std::uint32_t first, std::uint32_t last) {
    using Unsigned = std::uint32_t __attribute__((vector_size(32)));
    const std::uint32_t span = last - first;
    for (int x0 = 0; x0 + 8 <= width; x0 += 8) {
        const std::uint8_t* o = original + 4 * std::size_t(x0);
        Unsigned words;
        std::memcpy(&words, o, sizeof words);
        const Unsigned outside = ((words & 0xFF) - first > span) |
                                 (((words >> 8) & 0xFF) - first > span) |
                                 (((words >> 16) & 0xFF) - first > span);
        const bool flagged = anySet(Lanes(outside));
        const std::uint64_t eight = flagged ? 0x0101010101010101u : 0;
        std::memcpy(flags + x0, &eight, 8);
        if (!flagged)
            continue;
        Lanes b = {curve[o[0]],  curve[o[4]],  curve[o[8]],  curve[o[12]],
                   curve[o[16]], curve[o[20]], curve[o[24]], curve[o[28]]};
        Lanes g = {curve[o[1]],  curve[o[5]],  curve[o[9]],  curve[o[13]],
                   curve[o[17]], curve[o[21]], curve[o[25]], curve[o[29]]};
        Lanes r = {curve[o[2]],  curve[o[6]],  curve[o[10]], curve[o[14]],
                   curve[o[18]], curve[o[22]], curve[o[26]], curve[o[30]]};
        balanceLanes(b, g, r);
        const Lanes packed = (Lanes(words) & ~0xFFFFFF) | b | (g << 8) | (r << 16);
        std::memcpy(balanced + 4 * std::size_t(x0), &packed, sizeof packed);
    }
    for (int x = width / 8 * 8; x < width; ++x) {
        const std::uint8_t* o = original + 4 * std::size_t(x);
        flags[x] = (o[0] - first > span) | (o[1] - first > span) | (o[2] - first > span);
        if (!flags[x])
            continue;
        std::int64_t b = curve[o[0]], g = curve[o[1]], r = curve[o[2]];
        balance(b, g, r);
        std::uint8_t* q = balanced + 4 * std::size_t(x);
        q[0] = std::uint8_t(b);
        q[1] = std::uint8_t(g);
        q[2] = std::uint8_t(r);
    }
}

// Puts the pixels balanceOutside() worked out into the row: its runs of eight
// whole, the short run at the end pixel by pixel, colour bytes only.
void copyFlagged(const std::uint8_t* balanced, std::uint8_t* row, const std::uint8_t* flags,
                 int width) {
    for (int x0 = 0; x0 + 8 <= width; x0 += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, flags + x0, 8);
        if (eight != 0)
            std::memcpy(row + 4 * std::size_t(x0), balanced + 4 * std::size_t(x0), 32);
    }
    for (int x = width / 8 * 8; x < width; ++x)
        if (flags[x])
            std::memcpy(row + 4 * std::size_t(x), balanced + 4 * std::size_t(x), 3);
}

} // namespace

IMAGING_VECTOR_CLONES void FilterNegative(FilterRun& run) {
    const int w = run.width;
    eachRow(run, [&](std::uint8_t* p, int) {
        for (int x = 0; x < w; ++x)
            store32(p + 4 * x, load32(p + 4 * x) ^ 0x00FFFFFFu);
    });
}

IMAGING_VECTOR_CLONES void FilterGrayScale(FilterRun& run) {
    const int w = run.width;
    eachRow(run, [&](std::uint8_t* p, int) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t v = load32(p + 4 * x);
            const std::uint32_t g = ((v & 0xFF) + ((v >> 8) & 0xFF) + ((v >> 16) & 0xFF)) / 3;
            store32(p + 4 * x, (v & 0xFF000000u) | (g * 0x010101u));
        }
    });
}

IMAGING_VECTOR_CLONES void FilterBlackAndWhite(FilterRun& run, std::int32_t parameter) {
    int red, green, blue;
    SplitColor(parameter, red, green, blue);
    const std::uint32_t rt = std::uint32_t(red), gt = std::uint32_t(green),
                        bt = std::uint32_t(blue);
    const int w = run.width;
    eachRow(run, [&](std::uint8_t* p, int) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t v = load32(p + 4 * x);
            const bool dark = (v & 0xFF) < bt && ((v >> 8) & 0xFF) < gt && ((v >> 16) & 0xFF) < rt;
            store32(p + 4 * x, (v & 0xFF000000u) | (dark ? 0u : 0x00FFFFFFu));
        }
    });
}

IMAGING_VECTOR_CLONES void FilterContrast(FilterRun& run, std::int32_t parameter) {
    const int mean = meanGrey(run);
    const double f = single((std::int64_t(parameter) + 100) / 100.0);
    // The curve may leave 0 .. 255; the balancing below brings each pixel back. Values are
    // held within +-2^40 so that the balancing never overflows.
    std::array<std::int64_t, 256> curve;
    for (int k = 0; k < 256; ++k)
        curve[k] =
            nearestClamped(f * (k - mean) + mean, -(std::int64_t(1) << 40), std::int64_t(1) << 40);
    // The curve is a straight line, so the values it keeps within 0 .. 255 form one run
    // first .. last; only pixels with a channel outside it need the balancing.
    std::array<std::uint8_t, 256> inRange;
    int first = 256, last = -1;
    for (int k = 0; k < 256; ++k) {
        inRange[k] = std::uint8_t(clampByte64(curve[k]));
        if (inRange[k] == curve[k]) {
            first = std::min(first, k);
            last = std::max(last, k);
        }
    }
    for (int k = first; k <= last; ++k) // holds for any line; checked so the flags stay exact
        if (inRange[k] != curve[k])
            first = 256, last = -1;
    const int w = run.width, h = run.height;
    std::vector<std::uint8_t> flags(std::size_t(w) + 8, 0);
    std::vector<std::uint8_t> original(run.rowBytes()), balanced(run.rowBytes());
    // Curve values within +-2^28 keep the eight-lane balancing within 32 bits.
    bool narrow = true;
    std::array<std::int32_t, 256> curve32;
    for (int k = 0; k < 256; ++k) {
        narrow = narrow && curve[k] > -(1 << 28) && curve[k] < (1 << 28);
        curve32[k] = std::int32_t(std::clamp<std::int64_t>(curve[k], INT32_MIN, INT32_MAX));
    }
    if (!run.report(5))
        return;
    const ChannelTables tables{inRange.data(), inRange.data(), inRange.data()};
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = run.row(y);
        const bool someOutside = first > 0 || last < 255;
        if (someOutside) {
            // The balanced pixels are worked out before the lookup overwrites the row.
            if (narrow) {
                balanceOutside(p, balanced.data(), flags.data(), w, curve32.data(),
                               std::uint32_t(first), std::uint32_t(last));
            } else {
                flagOutside(p, w, flags.data(), std::uint32_t(first), std::uint32_t(last));
                std::memcpy(original.data(), p, run.rowBytes());
            }
        }
        lookupRow(p, w, tables);
        if (someOutside) {
            if (narrow) {
                copyFlagged(balanced.data(), p, flags.data(), w);
            } else {
                for (int x = 0; x < w; ++x) {
                    if (!flags[std::size_t(x)])
                        continue;
                    const std::uint8_t* o = &original[4 * std::size_t(x)];
                    std::int64_t b = curve[o[0]], g = curve[o[1]], r = curve[o[2]];
                    balance(b, g, r);
                    std::uint8_t* q = p + 4 * std::size_t(x);
                    q[0] = std::uint8_t(b);
                    q[1] = std::uint8_t(g);
                    q[2] = std::uint8_t(r);
                }
            }
        }
        if (!run.rowDone(y, 5, 100))
            return;
    }
    run.finish();
}

// s (c - m) + c rounded to the nearest, in 32-bit lanes: s = M / 2^k exactly (a float has
// 24 bits), M split into its high bits and low byte so that no product leaves 32 bits. With
// k >= 10 no channel falls on a tie. The caller checks it against the table before use.
struct SaturationSum {
    std::int32_t high = 0, low = 0, shift = 0;
    bool usable = false;

    explicit SaturationSum(double s) {
        int k = 0;
        while (s != std::floor(s) && k < 40) {
            s *= 2;
            ++k;
        }
        if (k < 10 || k > 38 || std::fabs(s) >= double(1 << 24))
            return;
        const auto m = std::int32_t(s);
        high = m >> 8;
        low = m & 0xFF;
        shift = k;
        usable = true;
    }
    IMAGING_INLINE std::int32_t operator()(std::int32_t c, std::int32_t m) const {
        const std::int32_t d = c - m;
        const std::int32_t t = high * d + ((low * d) >> 8) + (1 << (shift - 9));
        return std::clamp(c + (t >> (shift - 8)), 0, 255);
    }
};

// A function of its own, cloned: the lambda that calls it is compiled for the
// baseline machine only, which has no 32-bit lane multiply.
IMAGING_VECTOR_CLONES void saturateRow(std::uint8_t* p, int w, const SaturationSum& sum) {
    for (int x = 0; x < w; ++x) {
        const std::uint32_t v = load32(p + 4 * x);
        const auto b = std::int32_t(v & 0xFF), g = std::int32_t((v >> 8) & 0xFF),
                   r = std::int32_t((v >> 16) & 0xFF);
        const std::int32_t m = (b + g + r) / 3;
        store32(p + 4 * x, (v & 0xFF000000u) | std::uint32_t(sum(b, m)) |
                               std::uint32_t(sum(g, m)) << 8 | std::uint32_t(sum(r, m)) << 16);
    }
}

IMAGING_VECTOR_CLONES void FilterSaturation(FilterRun& run, std::int32_t parameter) {
    const double s = single(parameter / 100.0);
    // Every result depends only on the channel and the pixel's grey: one 64 KB table.
    std::vector<std::uint8_t> table(256 * 256);
    for (int m = 0; m < 256; ++m)
        for (int c = 0; c < 256; ++c)
            table[m * 256 + c] = std::uint8_t(nearestClamped(s * (c - m) + c, 0, 255));
    const int w = run.width;
    // The same in vector lanes, for the factors where it gives every entry of the table.
    const SaturationSum sum(s);
    bool lanes = sum.usable;
    for (int m = 0; m < 256 && lanes; ++m)
        for (int c = 0; c < 256; ++c)
            lanes = lanes && sum(c, m) == table[m * 256 + c];
    if (lanes) {
        eachRow(run, [&](std::uint8_t* p, int) { saturateRow(p, w, sum); });
        return;
    }
    eachRow(run, [&](std::uint8_t* p, int) {
        for (int x = 0; x < w; ++x, p += 4) {
            const std::uint8_t* t = &table[kGrey[p[0] + p[1] + p[2]] * 256];
            p[0] = t[p[0]];
            p[1] = t[p[1]];
            p[2] = t[p[2]];
        }
    });
}

IMAGING_VECTOR_CLONES void FilterGamma(FilterRun& run, std::int32_t parameter) {
    const double gamma = single(parameter / 100.0);
    std::array<std::uint8_t, 256> table;
    for (int c = 0; c < 256; ++c)
        table[c] = std::uint8_t(nearestClamped(std::pow(c / 255.0, 1.0 / gamma) * 255.0, 0, 255));
    applyTable(run, table);
}

IMAGING_VECTOR_CLONES void FilterBrightness(FilterRun& run, std::int32_t parameter) {
    const double f = single((std::int64_t(parameter) + 100) / 100.0);
    std::array<std::uint8_t, 256> table;
    for (int i = 0; i < 256; ++i)
        table[i] = std::uint8_t(nearestClamped(f * i, 0, 255));
    applyTable(run, table);
}

IMAGING_VECTOR_CLONES void FilterSwapChannels(FilterRun& run, std::int32_t parameter) {
    const int w = run.width;
    // Where channels 1, 2, 3 (blue, green, red) take their values from, as byte shifts.
    int from[3];
    switch (parameter) {
    case 1:
        from[0] = 8, from[1] = 16, from[2] = 0;
        break; // G, R, B
    case 2:
        from[0] = 16, from[1] = 0, from[2] = 8;
        break; // R, B, G
    case 3:
        from[0] = 8, from[1] = 0, from[2] = 16;
        break; // G, B, R
    case 4:
        from[0] = 16, from[1] = 8, from[2] = 0;
        break; // R, G, B
    case 5:
        from[0] = 0, from[1] = 16, from[2] = 8;
        break; // B, R, G
    default:
        from[0] = 0, from[1] = 8, from[2] = 16;
        break; // any other choice writes nothing
    }
    const int s0 = from[0], s1 = from[1], s2 = from[2];
    eachRow(run, [&](std::uint8_t* p, int) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t v = load32(p + 4 * x);
            store32(p + 4 * x, (v & 0xFF000000u) | ((v >> s0) & 0xFF) | (((v >> s1) & 0xFF) << 8) |
                                   (((v >> s2) & 0xFF) << 16));
        }
    });
}

namespace {

// The noise for one draw and parameters within +-63: the draw is k / 2^24 with k < 2^24, so
// u x span = k x span / 2^24 with k x span within +-2^31, and the rounding (ties to even) is
// done exactly in 32-bit integers: the half less one, plus one when the whole part is odd.
IMAGING_INLINE std::int32_t noiseOf(float u, std::int32_t span, std::int32_t parameter) {
    const std::int32_t scaled = std::int32_t(u * 16777216.0f) * span;
    return ((scaled + 0x7FFFFF + ((scaled >> 24) & 1)) >> 24) - parameter;
}

// One row of it. The noise is laid out four to a pixel (none on the fourth byte) so that both
// loops are vectorised; a function of its own, not a lambda, so that it is cloned too.
IMAGING_VECTOR_CLONES void noiseRow(std::uint8_t* __restrict px, int width,
                                    const float* __restrict u, std::int32_t* __restrict noise,
                                    std::int32_t parameter) {
    const std::int32_t span = 2 * parameter + 1;
    for (int x = 0; x < width; ++x) {
        noise[4 * x] = noiseOf(u[3 * x], span, parameter);
        noise[4 * x + 1] = noiseOf(u[3 * x + 1], span, parameter);
        noise[4 * x + 2] = noiseOf(u[3 * x + 2], span, parameter);
        noise[4 * x + 3] = 0;
    }
    const std::size_t n = 4 * std::size_t(width);
    for (std::size_t i = 0; i < n; ++i)
        px[i] = std::uint8_t(clampByte(px[i] + noise[i]));
}

} // namespace

void FilterAddNoise(FilterRun& run, std::int32_t parameter) {
    const double span = 2.0 * parameter + 1.0;
    const double p = parameter;
    const int w = run.width;
    std::vector<float> draws(std::size_t(w) * 3); // one row's numbers: blue, green, red
    if (parameter >= -63 && parameter <= 63) {
        std::vector<std::int32_t> noise(std::size_t(w) * 4);
        eachRow(run, [&](std::uint8_t* px, int) {
            FillUniform(draws.data(), draws.size());
            noiseRow(px, w, draws.data(), noise.data(), parameter);
        });
        return;
    }
    eachRow(run, [&](std::uint8_t* px, int) {
        FillUniform(draws.data(), draws.size());
        const float* u = draws.data();
        for (int x = 0; x < w; ++x, px += 4, u += 3)
            for (int c = 0; c < 3; ++c) {
                // |u x span - p + c| < 2^33: exact enough for roundEven.
                const double v = roundEven(double(u[c]) * span - p + px[c]);
                px[c] = std::uint8_t(int(std::min(255.0, std::max(0.0, v))));
            }
    });
}

} // namespace imaging::detail
