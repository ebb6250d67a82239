// Neighbourhood filters: each channel from a small window around the pixel. Sharpen, edge
// enhance, blur and smooth work in place (their window already holds the new values of the
// row above and of the pixel to the left); the others read the unchanged picture.
#include "imaging/window_rows.h"

namespace imaging::detail {

namespace {

// Cascading 3x3 filters: `value(C, N8, N4)` per channel, straight into the picture, so the
// row above and the pixel to the left are read as already filtered.
// Cascading 3x3 filters, in place. A row is done in two passes once the row above is final:
// first, vectorised, everything of each byte's value that does not involve its left
// neighbour, `prepare(C, N8 without left, N4 without left)`; then, pixel by pixel, the remainder
// that does, `finish(prepared, new left value)`, the three channels' chains side by side.
template <class Prepare, class Finish>
IMAGING_INLINE void inPlace3x3(FilterRun& run, Prepare prepare, Finish finish) {
    const int w = run.width, h = run.height;
    std::vector<std::int32_t> prepared(w >= 3 ? run.rowBytes() : 0);
    for (int y = 1; y < h - 1; ++y) {
        if (w >= 3) {
            const std::uint8_t* __restrict up = run.row(y - 1);
            std::uint8_t* mid = run.row(y);
            const std::uint8_t* __restrict down = run.row(y + 1);
            std::int32_t* __restrict pre = prepared.data();
            const int end = 4 * (w - 1);
            for (int i = 4; i < end; ++i) {
                const int cross = up[i] + mid[i + 4] + down[i];
                const int n8 = cross + up[i - 4] + up[i + 4] + down[i - 4] + down[i + 4];
                pre[i] = prepare(int(mid[i]), n8, cross);
            }
            int left0 = mid[0], left1 = mid[1], left2 = mid[2];
            for (int i = 4; i < end; i += 4) {
                left0 = finish(pre[i], left0);
                left1 = finish(pre[i + 1], left1);
                left2 = finish(pre[i + 2], left2);
                mid[i] = std::uint8_t(left0);
                mid[i + 1] = std::uint8_t(left1);
                mid[i + 2] = std::uint8_t(left2);
            }
        }
        if (!run.rowDone(y))
            return;
    }
    run.finish();
}

// clamp(((p + a) x C - m x N8) \ (p + d)): sharpen (24, 2, 8) and edge enhance (9, 1, 1).
// Narrow parameters keep every product within 32 bits; any other takes 64.
IMAGING_INLINE void weightedCentre(FilterRun& run, std::int32_t p, int a, int m, int d) {
    if (p > -1000000 && p < 1000000) {
        // |centre x C - m x N8| < 2^31 here.
        const int centre = p + a;
        const Divider divide(p + d);
        inPlace3x3(
            run, [=](int c, int n8, int) { return centre * c - m * n8; },
            [=](std::int32_t pre, int left) { return clampByte(divide(pre - m * left)); });
    } else {
        const std::int64_t centre = std::int64_t(p) + a, divisor = std::int64_t(p) + d;
        // The prepared part is only the neighbours; the rest is done in 64 bits per pixel.
        inPlace3x3(
            run, [](int c, int n8, int) { return (n8 << 8) | c; },
            [=](std::int32_t pre, int left) {
                const std::int64_t n8 = (pre >> 8) + left, c = pre & 0xFF;
                return int(clampByte64((centre * c - m * n8) / divisor));
            });
    }
}

// The colour parameter, one offset per byte of a row (blue, green, red, 0).
std::vector<std::int16_t> offsetRow(std::int32_t colour, int width) {
    int red, green, blue;
    SplitColor(colour, red, green, blue);
    std::vector<std::int16_t> k(std::size_t(width) * 4);
    for (int x = 0; x < width; ++x) {
        k[4 * std::size_t(x)] = std::int16_t(blue);
        k[4 * std::size_t(x) + 1] = std::int16_t(green);
        k[4 * std::size_t(x) + 2] = std::int16_t(red);
        k[4 * std::size_t(x) + 3] = 0;
    }
    return k;
}

IMAGING_VECTOR_CLONES void contourRow(const Row3& r) {
    eachByte3(r, [](const std::uint8_t* up, const std::uint8_t* mid, const std::uint8_t* down,
                    const std::int16_t* k, int i) {
        const int n8 = up[i - 4] + up[i] + up[i + 4] + mid[i - 4] + mid[i + 4] + down[i - 4] +
                       down[i] + down[i + 4];
        return clampByte(8 * mid[i] - n8 + k[i]);
    });
}

IMAGING_VECTOR_CLONES void reliefRow(const Row3& r) {
    eachByte3(r, [](const std::uint8_t* up, const std::uint8_t* mid, const std::uint8_t* down,
                    const std::int16_t*, int i) {
        const int k = 2 * up[i - 4] + mid[i - 4] + up[i] - down[i] - mid[i + 4] - 2 * down[i + 4];
        return clampByte((k + mid[i]) / 2 + 50);
    });
}

// Left column minus right column (emboss gradient) or the other way round (engrave gradient).
template <int Sign> IMAGING_VECTOR_CLONES void gradientRow(const Row3& r) {
    eachByte3(r, [](const std::uint8_t* up, const std::uint8_t* mid, const std::uint8_t* down,
                    const std::int16_t* k, int i) {
        const int left = up[i - 4] + mid[i - 4] + down[i - 4];
        const int right = up[i + 4] + mid[i + 4] + down[i + 4];
        return clampByte(Sign * (left - right) + k[i]);
    });
}

// Emboss and engrave look only right and down, so they work in place: clamp(abs(d + k)) with
// d = C - P(+1, +1) (sign +1) or P(+1, +1) - C (sign -1).
IMAGING_INLINE void forwardDifference(FilterRun& run, std::int32_t colour, int sign) {
    const int w = run.width, h = run.height;
    {
        const std::vector<std::int16_t> k = offsetRow(colour, w);
        const std::vector<std::uint8_t> keep = fourthByteMask(w);
        const int end = 4 * (w - 1);
        for (int y = 0; y < h - 1; ++y) {
            std::uint8_t* __restrict p = run.row(y);
            const std::uint8_t* __restrict below = run.row(y + 1) + 4;
            const std::int16_t* __restrict kk = k.data();
            const std::uint8_t* __restrict kp = keep.data();
            for (int i = 0; i < end; ++i) {
                int v = sign * (int(p[i]) - int(below[i])) + kk[i];
                v = v < 0 ? -v : v;
                const std::uint8_t b = std::uint8_t(v > 255 ? 255 : v);
                p[i] = std::uint8_t((b & ~kp[i]) | (p[i] & kp[i]));
            }
            if (!run.rowDone(y))
                return;
        }
    }
    run.finish();
}

} // namespace

IMAGING_VECTOR_CLONES void FilterSharpen(FilterRun& run, std::int32_t parameter) {
    weightedCentre(run, parameter, 24, 2, 8);
}

IMAGING_VECTOR_CLONES void FilterEdgeEnhance(FilterRun& run, std::int32_t parameter) {
    weightedCentre(run, parameter, 9, 1, 1);
}

IMAGING_VECTOR_CLONES void FilterBlur(FilterRun& run) {
    inPlace3x3(
        run, [](int, int n8, int) { return n8; },
        [](std::int32_t n8, int left) { return (n8 + left) >> 3; });
}

IMAGING_VECTOR_CLONES void FilterSmooth(FilterRun& run) {
    inPlace3x3(
        run, [](int c, int, int cross) { return c + cross; },
        [](std::int32_t sum, int left) { return (sum + left) / 5; });
}

IMAGING_VECTOR_CLONES void FilterContour(FilterRun& run, std::int32_t parameter) {
    const std::vector<std::int16_t> k = offsetRow(parameter, run.width);
    window3x3(run, contourRow, k.data());
}

IMAGING_VECTOR_CLONES void FilterRelief(FilterRun& run) {
    window3x3(run, reliefRow);
}

IMAGING_VECTOR_CLONES void FilterEmboss(FilterRun& run, std::int32_t parameter) {
    forwardDifference(run, parameter, 1);
}

IMAGING_VECTOR_CLONES void FilterEngrave(FilterRun& run, std::int32_t parameter) {
    forwardDifference(run, parameter, -1);
}

IMAGING_VECTOR_CLONES void FilterEmbossGradient(FilterRun& run, std::int32_t parameter) {
    const std::vector<std::int16_t> k = offsetRow(parameter, run.width);
    window3x3(run, gradientRow<1>, k.data());
}

IMAGING_VECTOR_CLONES void FilterEngraveGradient(FilterRun& run, std::int32_t parameter) {
    const std::vector<std::int16_t> k = offsetRow(parameter, run.width);
    window3x3(run, gradientRow<-1>, k.data());
}

} // namespace imaging::detail
