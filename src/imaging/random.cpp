#include "imaging/random.h"

#include "imaging/filter_run.h"

#include <algorithm>
#include <array>

namespace imaging {

namespace {

constexpr std::uint32_t kN = 624, kM = 397;

inline std::uint32_t twist(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    const std::uint32_t y = (a & 0x80000000u) | (b & 0x7FFFFFFFu);
    return c ^ (y >> 1) ^ ((y & 1u) ? 0x9908B0DFu : 0u);
}

// One turn of the state and the next 624 numbers, tempered and scaled.
IMAGING_VECTOR_CLONES void regenerate(std::uint32_t* s, float* ready) {
    for (std::uint32_t i = 0; i < kN - kM; ++i)
        s[i] = twist(s[i], s[i + 1], s[i + kM]);
    for (std::uint32_t i = kN - kM; i < kN - 1; ++i)
        s[i] = twist(s[i], s[i + 1], s[i + kM - kN]);
    s[kN - 1] = twist(s[kN - 1], s[0], s[kM - 1]);
    for (std::uint32_t i = 0; i < kN; ++i) {
        std::uint32_t y = s[i];
        y ^= y >> 11;
        y ^= (y << 7) & 0x9D2C5680u;
        y ^= (y << 15) & 0xEFC60000u;
        y ^= y >> 18;
        // The top 24 bits fill a float's mantissa exactly: k / 2^24 for k < 2^24.
        ready[i] = float(y >> 8) * (1.0f / 16777216.0f);
    }
}

// MT19937, the 32-bit Mersenne Twister (Matsumoto and Nishimura, 1998), with its standard
// default seed 5489: a well-known sequence that is the same on every platform and every run.
// The state is regenerated 624 words at a time and tempered in bulk, so the filters that draw
// one number per channel do not pay a call per number.
class MersenneTwister {
  public:
    MersenneTwister() {
        state_[0] = 5489u;
        for (std::uint32_t i = 1; i < kN; ++i)
            state_[i] = 1812433253u * (state_[i - 1] ^ (state_[i - 1] >> 30)) + i;
    }

    void fill(float* out, std::size_t n) {
        while (n > 0) {
            if (next_ == kN)
                refill();
            const std::size_t take = std::min<std::size_t>(n, kN - next_);
            std::copy_n(&ready_[next_], take, out);
            next_ += std::uint32_t(take);
            out += take;
            n -= take;
        }
    }

  private:
    void refill() {
        regenerate(state_.data(), ready_.data());
        next_ = 0;
    }

    std::array<std::uint32_t, kN> state_;
    std::array<float, kN> ready_{};
    std::uint32_t next_ = kN;
};

MersenneTwister& generator() {
    static MersenneTwister engine;
    return engine;
}
std::uint64_t drawCount = 0;

} // namespace

float NextUniform() {
    float u;
    FillUniform(&u, 1);
    return u;
}

void FillUniform(float* out, std::size_t n) {
    generator().fill(out, n);
    drawCount += n;
}

std::uint64_t UniformDrawCount() {
    return drawCount;
}

} // namespace imaging
