// What every filter family shares: the picture being filtered, the progress variable and the
// event hook, and the number rules (truncating division, ties-to-even rounding, clamping).
#pragma once

#include "imaging/filter_engine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace imaging::detail {

struct FilterRun {
    std::uint8_t* pixels;
    int width;
    int height;
    std::ptrdiff_t stride;
    std::int32_t& progress;
    const EventHook& hook;
    bool cancelled = false;

    std::uint8_t* row(int y) const { return pixels + y * stride; }
    std::size_t rowBytes() const { return std::size_t(width) * 4; }

    // Stores the percentage and lets the interface run; false once the user cancelled.
    bool report(std::int32_t value) {
        progress = value;
        if (hook && !hook()) {
            cancelled = true;
            return false;
        }
        return true;
    }
    // Row y (counted from 0) is done: y + 1 rows of `height`.
    bool rowDone(int y) { return report(std::int32_t((std::int64_t(y) + 1) * 100 / height)); }
    void finish() { report(100); }
};

inline int clampByte(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}
inline std::int64_t clampByte64(std::int64_t v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Nearest integer, a tie to the even one (the default rounding mode), brought into lo .. hi.
inline std::int64_t nearestClamped(double v, std::int64_t lo, std::int64_t hi) {
    double r = std::nearbyint(v);
    if (!(r >= double(lo)))
        return lo;
    if (r > double(hi))
        return hi;
    return std::int64_t(r);
}

// An amount stored in single precision, as the filters' factors are.
inline double single(double v) {
    return double(float(v));
}

// Filter families: each runs on the whole picture in place.
void FilterNegative(FilterRun& run);
void FilterGrayScale(FilterRun& run);
void FilterBlackAndWhite(FilterRun& run, std::int32_t parameter);
void FilterContrast(FilterRun& run, std::int32_t parameter);
void FilterSaturation(FilterRun& run, std::int32_t parameter);
void FilterGamma(FilterRun& run, std::int32_t parameter);
void FilterBrightness(FilterRun& run, std::int32_t parameter);
void FilterSwapChannels(FilterRun& run, std::int32_t parameter);
void FilterAddNoise(FilterRun& run, std::int32_t parameter);

void FilterSharpen(FilterRun& run, std::int32_t parameter);
void FilterEdgeEnhance(FilterRun& run, std::int32_t parameter);
void FilterBlur(FilterRun& run);
void FilterSmooth(FilterRun& run);
void FilterContour(FilterRun& run, std::int32_t parameter);
void FilterRelief(FilterRun& run);
void FilterEmboss(FilterRun& run, std::int32_t parameter);
void FilterEngrave(FilterRun& run, std::int32_t parameter);
void FilterEmbossGradient(FilterRun& run, std::int32_t parameter);
void FilterEngraveGradient(FilterRun& run, std::int32_t parameter);

void FilterDilate(FilterRun& run);
void FilterErode(FilterRun& run);
void FilterEdgeDetect(FilterRun& run);
void FilterDiffuse(FilterRun& run, std::int32_t parameter);
void FilterMosaic(FilterRun& run, std::int32_t parameter);
void FilterOrderedDither(FilterRun& run);
void FilterStretchLevels(FilterRun& run);
void FilterErrorDiffusion(FilterRun& run, int code, std::int32_t parameter);
void FilterSharpThreshold(FilterRun& run);
void FilterKuwahara(FilterRun& run);

} // namespace imaging::detail
