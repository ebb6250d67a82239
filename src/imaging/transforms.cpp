#include "imaging/transforms.h"

#include "imaging/filter_run.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace imaging {

namespace {

std::uint32_t* rowOf(const BitmapView& v, int y) {
    return reinterpret_cast<std::uint32_t*>(v.pixels + std::ptrdiff_t(y) * v.stride);
}

} // namespace

void AdjustBrightness(const BitmapView& source, const BitmapView& destination, int level) {
    level = std::clamp(level, -255, 255);
    const int w = source.width;
    for (int y = 0; y < source.height; ++y) {
        const std::uint8_t* in = source.pixels + std::ptrdiff_t(y) * source.stride;
        std::uint8_t* out = destination.pixels + std::ptrdiff_t(y) * destination.stride;
        int x = 0;
#if defined(__SSE2__)
        // Saturating byte arithmetic is exactly the clamp to 0 ... 255; the fourth byte of
        // each pixel gets 0 added.
        const std::uint8_t step = std::uint8_t(level < 0 ? -level : level);
        const __m128i add = _mm_setr_epi8(char(step), char(step), char(step), 0, char(step),
                                          char(step), char(step), 0, char(step), char(step),
                                          char(step), 0, char(step), char(step), char(step), 0);
        for (; x + 4 <= w; x += 4) {
            const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * x));
            const __m128i q = level < 0 ? _mm_subs_epu8(p, add) : _mm_adds_epu8(p, add);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), q);
        }
#endif
        for (; x < w; ++x) {
            out[4 * x] = std::uint8_t(detail::clampByte(in[4 * x] + level));
            out[4 * x + 1] = std::uint8_t(detail::clampByte(in[4 * x + 1] + level));
            out[4 * x + 2] = std::uint8_t(detail::clampByte(in[4 * x + 2] + level));
            out[4 * x + 3] = in[4 * x + 3];
        }
    }
}

void MirrorPicture(const BitmapView& source, const BitmapView& destination) {
    for (int y = 0; y < source.height; ++y) {
        std::uint32_t* in = rowOf(source, y);
        std::uint32_t* out = rowOf(destination, y);
        if (in == out)
            std::reverse(out, out + source.width);
        else
            std::reverse_copy(in, in + source.width, out);
    }
}

void FlipPicture(const BitmapView& source, const BitmapView& destination) {
    const std::size_t bytes = std::size_t(source.width) * 4;
    if (source.pixels != destination.pixels) {
        for (int y = 0; y < source.height; ++y)
            std::memcpy(rowOf(destination, source.height - 1 - y), rowOf(source, y), bytes);
        return;
    }
    for (int top = 0, bottom = source.height - 1; top < bottom; ++top, --bottom) {
        auto* a = reinterpret_cast<std::uint8_t*>(rowOf(source, top));
        std::swap_ranges(a, a + bytes, reinterpret_cast<std::uint8_t*>(rowOf(source, bottom)));
    }
}

void MirrorPicture(const BitmapView& picture) {
    MirrorPicture(picture, picture);
}

void FlipPicture(const BitmapView& picture) {
    FlipPicture(picture, picture);
}

void RotateQuarter(const BitmapView& source, const BitmapView& destination) {
    const int w = source.width, h = source.height;
    const std::uint8_t* const src = source.pixels;
    const std::ptrdiff_t stride = source.stride;
    // New row y is old column y read from the bottom up. The work goes in square tiles so that
    // the old rows a tile reads stay in the cache while its new rows are written.
    constexpr int kTile = 64;
    for (int ty = 0; ty < w; ty += kTile) {
        const int tyEnd = std::min(w, ty + kTile);
        for (int tx = 0; tx < h; tx += kTile) {
            const int txEnd = std::min(h, tx + kTile);
            int y = ty;
#if defined(__SSE2__)
            // Four by four pixels at a time: four old rows in, four new rows out.
            for (; y + 4 <= tyEnd; y += 4) {
                int x = tx;
                for (; x + 4 <= txEnd; x += 4) {
                    const auto load = [&](int k) {
                        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(
                            src + std::ptrdiff_t(h - 1 - x - k) * stride + 4 * std::ptrdiff_t(y)));
                    };
                    const __m128i r0 = load(0), r1 = load(1), r2 = load(2), r3 = load(3);
                    const __m128i a = _mm_unpacklo_epi32(r0, r1), b = _mm_unpacklo_epi32(r2, r3);
                    const __m128i c = _mm_unpackhi_epi32(r0, r1), d = _mm_unpackhi_epi32(r2, r3);
                    const auto store = [&](int k, __m128i v) {
                        _mm_storeu_si128(reinterpret_cast<__m128i*>(rowOf(destination, y + k) + x),
                                         v);
                    };
                    store(0, _mm_unpacklo_epi64(a, b));
                    store(1, _mm_unpackhi_epi64(a, b));
                    store(2, _mm_unpacklo_epi64(c, d));
                    store(3, _mm_unpackhi_epi64(c, d));
                }
                for (; x < txEnd; ++x)
                    for (int k = 0; k < 4; ++k)
                        rowOf(destination, y + k)[x] = rowOf(source, h - 1 - x)[y + k];
            }
#endif
            for (; y < tyEnd; ++y) {
                std::uint32_t* out = rowOf(destination, y);
                for (int x = tx; x < txEnd; ++x)
                    out[x] = rowOf(source, h - 1 - x)[y];
            }
        }
    }
}

} // namespace imaging
