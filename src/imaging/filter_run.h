// What every filter family shares: the picture being filtered, the progress variable and the
// event hook, and the number rules (truncating division, ties-to-even rounding, clamping).
#pragma once

#include "imaging/filter_engine.h"
#include "imaging/rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

// Hot pixel loops are built twice, for AVX2 and for the base instruction set, and the loader
// picks the one the processor runs. Only the vector width differs (no fused multiply-add is
// enabled), so both give the same results bit for bit. Clang cannot clone templates: one build.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && defined(__linux__)
#define IMAGING_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define IMAGING_VECTOR_CLONES
#endif
// Loop helpers are folded into each clone so that they are vectorised for it.
#define IMAGING_INLINE [[gnu::always_inline]] inline

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
    // Row y (counted from 0) is done: y + 1 rows of `height`. A filter that walks the picture
    // more than once gives each pass its share of the percentage, `from` to `to`.
    bool rowDone(int y, int from = 0, int to = 100) {
        return report(std::int32_t(from + (std::int64_t(y) + 1) * (to - from) / height));
    }
    void finish() { report(100); }
};

inline int clampByte(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}
inline std::int64_t clampByte64(std::int64_t v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Nearest integer, a tie to the even one, brought into lo .. hi (both within +-2^50). Values
// are held just outside lo .. hi before rounding, so the conversion never overflows.
inline std::int64_t nearestClamped(double v, std::int64_t lo, std::int64_t hi) {
    if (!(v >= double(lo) - 1.0))
        return lo;
    if (v > double(hi) + 1.0)
        return hi;
    return std::clamp<std::int64_t>(std::int64_t(roundEven(v)), lo, hi);
}

// Division truncating toward zero by a divisor fixed for the whole run, as one multiplication
// and a shift (exact for every |n| < 2^31: the divisor's reciprocal is rounded up to 32 bits
// past its leading bit).
class Divider {
  public:
    explicit Divider(std::int32_t d) : negative_(d < 0) {
        const std::uint64_t ad = d < 0 ? std::uint64_t(-std::int64_t(d)) : std::uint64_t(d);
        int bits = 0; // bits = ceil(log2 |d|)
        while ((std::uint64_t(1) << bits) < ad)
            ++bits;
        shift_ = 31 + bits;
        multiplier_ = (std::uint64_t(1) << shift_) / ad + 1;
    }
    std::int32_t operator()(std::int32_t n) const {
        const std::uint64_t an = n < 0 ? std::uint64_t(-std::int64_t(n)) : std::uint64_t(n);
        const auto q = std::int32_t((an * multiplier_) >> shift_);
        return (n < 0) != negative_ ? -q : q;
    }

  private:
    std::uint64_t multiplier_;
    int shift_;
    bool negative_;
};

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
