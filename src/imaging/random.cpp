#include "imaging/random.h"

#include <random>

namespace imaging {

namespace {
// MT19937 (the 32-bit Mersenne Twister) with its standard default seed 5489: a well-known,
// well-tested sequence that is the same on every platform and every run.
std::mt19937& generator() {
    static std::mt19937 engine;
    return engine;
}
std::uint64_t drawCount = 0;
} // namespace

float NextUniform() {
    ++drawCount;
    // The top 24 bits fill a float's mantissa exactly: k / 2^24 for k in 0 .. 2^24 - 1.
    return static_cast<float>(generator()() >> 8) * (1.0f / 16777216.0f);
}

void FillUniform(float* out, std::size_t n) {
    std::mt19937& g = generator();
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<float>(g() >> 8) * (1.0f / 16777216.0f);
    drawCount += n;
}

std::uint64_t UniformDrawCount() {
    return drawCount;
}

} // namespace imaging
