#include "imaging/byte_tables.h"

#include "imaging/filter_run.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define IMAGING_HAVE_VBMI 1
#endif

namespace imaging::detail {

namespace {

IMAGING_VECTOR_CLONES void lookupRowPlain(std::uint8_t* p, int width, const ChannelTables& t) {
    const std::uint8_t* __restrict b = t.blue;
    const std::uint8_t* __restrict g = t.green;
    const std::uint8_t* __restrict r = t.red;
    for (int x = 0; x < width; ++x, p += 4) {
        p[0] = b[p[0]];
        p[1] = g[p[1]];
        p[2] = r[p[2]];
    }
}

#ifdef IMAGING_HAVE_VBMI
// With byte permutes a 256-entry table is four registers: the low seven bits of a byte pick
// from two of them, the high bit picks the pair. 64 bytes (16 pixels) per step.
struct Table512 {
    __m512i t0, t1, t2, t3;
};

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline Table512
loadTable(const std::uint8_t* t) {
    return {_mm512_loadu_si512(t), _mm512_loadu_si512(t + 64), _mm512_loadu_si512(t + 128),
            _mm512_loadu_si512(t + 192)};
}

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline __m512i lookup(const Table512& t,
                                                                             __m512i v) {
    const __m512i low = _mm512_permutex2var_epi8(t.t0, v, t.t1);
    const __m512i high = _mm512_permutex2var_epi8(t.t2, v, t.t3);
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(v), low, high);
}

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void
lookupRowVbmi(std::uint8_t* p, int width, const ChannelTables& t) {
    const Table512 b = loadTable(t.blue);
    const bool oneTable = t.blue == t.green && t.blue == t.red;
    const Table512 g = loadTable(t.green);
    const Table512 r = loadTable(t.red);
    // Byte lanes of each channel: blue 0, 4, 8 ...; green 1, 5, ...; red 2, 6, ...
    const __mmask64 greenLanes = 0x2222222222222222ull, redLanes = 0x4444444444444444ull,
                    fourthLanes = 0x8888888888888888ull;
    const std::size_t bytes = std::size_t(width) * 4;
    for (std::size_t i = 0; i < bytes; i += 64) {
        const std::size_t left = bytes - i;
        const __mmask64 live = left >= 64 ? ~0ull : ((1ull << left) - 1);
        const __m512i v = _mm512_maskz_loadu_epi8(live, p + i);
        __m512i out = lookup(b, v);
        if (!oneTable) {
            out = _mm512_mask_blend_epi8(greenLanes, out, lookup(g, v));
            out = _mm512_mask_blend_epi8(redLanes, out, lookup(r, v));
        }
        out = _mm512_mask_blend_epi8(fourthLanes, out, v);
        _mm512_mask_storeu_epi8(p + i, live, out);
    }
}

bool haveVbmi() {
    static const bool yes =
        __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512bw");
    return yes;
}
#endif

IMAGING_VECTOR_CLONES std::uint32_t greySumShort(const std::uint8_t* p, int width) {
    std::uint32_t sum = 0;
    for (int x = 0; x < width; ++x) {
        std::uint32_t v;
        std::memcpy(&v, p + 4 * std::size_t(x), 4);
        sum += ((v & 0xFF) + ((v >> 8) & 0xFF) + ((v >> 16) & 0xFF)) / 3;
    }
    return sum;
}

} // namespace

std::uint64_t greySum(const std::uint8_t* row, int width) {
    // Runs of at most 2^16 pixels keep the 32-bit partial sums from overflowing.
    std::uint64_t sum = 0;
    for (int x = 0; x < width; x += 65536)
        sum += greySumShort(row + 4 * std::size_t(x), std::min(65536, width - x));
    return sum;
}

void lookupRow(std::uint8_t* row, int width, const ChannelTables& tables) {
#ifdef IMAGING_HAVE_VBMI
    if (haveVbmi()) {
        lookupRowVbmi(row, width, tables);
        return;
    }
#endif
    lookupRowPlain(row, width, tables);
}

} // namespace imaging::detail
