#include "editor/transforms.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace editor {

namespace {

std::uint32_t* rowOf(const BitmapView& v, int y) {
    return reinterpret_cast<std::uint32_t*>(v.pixels + std::ptrdiff_t(y) * v.stride);
}

std::uint8_t clampByte(int v) {
    return std::uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// The constant of the original program, not the full-precision pi: the turn angle and the
// right angle of the first ring are both stored in single precision from it.
constexpr double kPi = 3.14159265358979;
// A quarter turn clockwise is drawn as an inverse turn by 360 - 90 degrees.
const float kTurn = float(kPi / 180.0 * 270.0);
const float kRightAngle = float(kPi / 2.0);

// Rounds to nearest, a tie to the even neighbour (the default rounding mode).
long nearest(double v) {
    return std::lrint(v);
}

struct Offset {
    long x, y;
};

// One step of the polar loop: the source offset that ring index i, column c reads.
Offset polarOffset(int i, int c) {
    const float phi = i == 0 ? kRightAngle : float(std::atan(double(c) / double(i)));
    const long d = nearest(std::sqrt(double(std::int64_t(c) * c + std::int64_t(i) * i)));
    const double angle = double(phi) + double(kTurn);
    return {nearest(double(d) * std::cos(angle)), nearest(double(d) * std::sin(angle))};
}

// The geometry of one turn: centres, rounded radius and the offsets of the quarter turn.
struct TurnGeometry {
    long cxS, cyS; // source centre
    long A, B;     // destination centre with the quarter-turn offsets applied
    long radius;   // the loop runs i and c from 0 to this
};

TurnGeometry geometryFor(int w, int h) {
    TurnGeometry g;
    g.cxS = nearest(w / 2.0);
    g.cyS = nearest(h / 2.0);
    // The destination has the source's size when the centres are taken, before its sides swap.
    const long cxD = g.cxS, cyD = g.cyS;
    g.radius = nearest(double(float(std::max(w, h) / 2.0)));
    g.A = cxD + nearest((h - w) / 2.0 - 2.0);
    g.B = cyD + nearest((w - h) / 2.0);
    return g;
}

// The source pixel that write k of step (i, c) reads, as offsets from the source centre.
Offset sourceOffset(Offset xy, int k) {
    switch (k) {
    case 0:
        return {xy.x, xy.y};
    case 1:
        return {-xy.x, -xy.y};
    case 2:
        return {xy.y, -xy.x};
    default:
        return {-xy.y, xy.x};
    }
}

// The destination offset (from the destination centre) that write k of step (i, c) draws.
Offset destinationOffset(int i, int c, int k) {
    switch (k) {
    case 0:
        return {i, c};
    case 1:
        return {-i, -c};
    case 2:
        return {c, -i};
    default:
        return {-c, i};
    }
}

struct Writer {
    long i, c;
    int k;
    auto operator<=>(const Writer&) const = default;
};

// The last colour that the loop leaves at destination offset (a, b): every step that draws
// there, in loop order, the last one whose source pixel lies inside the picture winning.
std::uint32_t finalColour(const BitmapView& source, const TurnGeometry& g, long a, long b,
                          std::uint32_t background) {
    Writer writers[4];
    int n = 0;
    if (a >= 0 && b >= 0)
        writers[n++] = {a, b, 0};
    if (a <= 0 && b <= 0)
        writers[n++] = {-a, -b, 1};
    if (a >= 0 && b <= 0)
        writers[n++] = {-b, a, 2};
    if (a <= 0 && b >= 0)
        writers[n++] = {b, -a, 3};
    std::sort(writers, writers + n);
    std::uint32_t colour = background;
    for (int w = 0; w < n; ++w) {
        const Offset s =
            sourceOffset(polarOffset(int(writers[w].i), int(writers[w].c)), writers[w].k);
        const long sx = g.cxS + s.x, sy = g.cyS + s.y;
        if (sx >= 0 && sy >= 0 && sx < source.width && sy < source.height)
            colour = rowOf(source, int(sy))[sx];
    }
    return colour;
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
            out[4 * x] = clampByte(in[4 * x] + level);
            out[4 * x + 1] = clampByte(in[4 * x + 1] + level);
            out[4 * x + 2] = clampByte(in[4 * x + 2] + level);
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

void RotateQuarter(const BitmapView& source, const BitmapView& destination,
                   std::uint32_t background) {
    const int w = source.width, h = source.height;
    const int dw = destination.width, dh = destination.height; // h x w
    if (w <= 0 || h <= 0 || dw <= 0 || dh <= 0)
        return;
    const TurnGeometry g = geometryFor(w, h);
    const long R = g.radius;

    // Drawn as the loop would if every step read its exact quarter-turn neighbour: step (i, c)
    // reads offset (c, -i), so destination offset (a, b) takes source offset (b, -a), i.e.
    // destination (x, y) takes source (cxS + y - B, cyS - x + A) where that lies inside the
    // picture and |a|, |b| are within the radius. The valid rows and columns are each one run.
    const long y0 = std::max({0L, g.B - R, g.B - g.cxS});
    const long y1 = std::min({long(dh) - 1, g.B + R, g.B - g.cxS + w - 1});
    const long x0 = std::max({0L, g.A - R, g.A + g.cyS - h + 1});
    const long x1 = std::min({long(dw) - 1, g.A + R, g.A + g.cyS});
    for (long y = 0; y < dh; ++y) {
        std::uint32_t* row = rowOf(destination, int(y));
        if (y < y0 || y > y1 || x0 > x1) {
            std::fill(row, row + dw, background);
        } else {
            std::fill(row, row + x0, background);
            std::fill(row + x1 + 1, row + dw, background);
        }
    }
    if (y0 <= y1 && x0 <= x1) {
        // Destination rows are source columns: walk square tiles so that the source lines a
        // tile reads stay cached while its rows are written.
        constexpr long kTile = 32;
        const std::ptrdiff_t srcStride = source.stride / 4;
        const std::uint32_t* srcBase = reinterpret_cast<const std::uint32_t*>(source.pixels);
        for (long tx = x0; tx <= x1; tx += kTile) {
            const long txEnd = std::min(x1, tx + kTile - 1);
            for (long ty = y0; ty <= y1; ty += kTile) {
                const long tyEnd = std::min(y1, ty + kTile - 1);
                for (long y = ty; y <= tyEnd; ++y) {
                    std::uint32_t* out = rowOf(destination, int(y));
                    // Source column of this row, starting at the source row of column tx.
                    const std::uint32_t* in =
                        srcBase + (g.cyS - tx + g.A) * srcStride + (g.cxS + y - g.B);
                    for (long x = tx; x <= txEnd; ++x, in -= srcStride)
                        out[x] = *in;
                }
            }
        }
    }

    // Steps whose rounding strays from that neighbour. Step (i, c) reads
    // X = nearest(d cos(phi + turn)), Y = nearest(d sin(phi + turn)) with d = nearest(r),
    // r = sqrt(c^2 + i^2); exactly these are c * d / r and -i * d / r, which lie less than
    // |d - r| from c and -i. The single-precision angles move the products by at most about
    // 5e-7 * d, so a step can stray only where r lies within that of a half: only those run
    // the full trigonometry.
    const double margin = 2e-6 * double(R + 1) + 1e-9;
    std::vector<Writer> strays;
    std::vector<double> frac(std::size_t(R) + 1);
    for (long i = 0; i <= R; ++i) {
        const double ii = double(i) * double(i);
        double* f = frac.data();
        const int steps = int(R) + 1;
        for (int c = 0; c < steps; ++c) {
            const double cd = double(c);
            const double r = std::sqrt(cd * cd + ii);
            f[c] = std::fabs(r - double(int(r + 0.5)));
        }
        for (long c = 0; c <= R; ++c) {
            if (frac[std::size_t(c)] <= 0.5 - margin)
                continue;
            const Offset xy = polarOffset(int(i), int(c));
            if (xy.x != c || xy.y != -i)
                strays.push_back({i, c, 0});
        }
    }
    for (const Writer& s : strays)
        for (int k = 0; k < 4; ++k) {
            const Offset ab = destinationOffset(int(s.i), int(s.c), k);
            const long x = g.A + ab.x, y = g.B + ab.y;
            if (x >= 0 && y >= 0 && x < dw && y < dh)
                rowOf(destination, int(y))[x] = finalColour(source, g, ab.x, ab.y, background);
        }
}

} // namespace editor
