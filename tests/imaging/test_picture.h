// Pictures for the imaging tests: a padded 32-bit buffer (so that the stride is honoured and
// the padding can be checked) and a tight copy in the (channel, x, y) layout of the engine.
#pragma once

#include "imaging/filter_engine.h"

#include <cstdint>
#include <random>
#include <vector>

namespace imaging_test {

constexpr int kPad = 12; // bytes of padding after each row

struct Picture {
    int width = 0, height = 0;
    std::ptrdiff_t stride = 0;
    std::vector<std::uint8_t> bytes;

    Picture(int w, int h) : width(w), height(h), stride(std::ptrdiff_t(w) * 4 + kPad) {
        bytes.assign(std::size_t(stride) * std::size_t(h > 0 ? h : 0) + 1, 0xA5);
    }
    std::uint8_t& at(int channel, int x, int y) { // 0-based
        return bytes[std::size_t(y) * stride + std::size_t(x) * 4 + channel];
    }
    std::uint8_t at(int channel, int x, int y) const {
        return bytes[std::size_t(y) * stride + std::size_t(x) * 4 + channel];
    }
    void set(int x, int y, int b, int g, int r, int a = 0x77) {
        at(0, x, y) = std::uint8_t(b);
        at(1, x, y) = std::uint8_t(g);
        at(2, x, y) = std::uint8_t(r);
        at(3, x, y) = std::uint8_t(a);
    }
    void fill(int b, int g, int r, int a = 0x77) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                set(x, y, b, g, r, a);
    }
    imaging::BitmapView view() { return {bytes.data(), width, height, stride}; }

    // The pixels without padding: byte (c, x, y) at c + 4x + 4wy.
    std::vector<std::uint8_t> tight() const {
        std::vector<std::uint8_t> t(std::size_t(width) * height * 4);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 4; ++c)
                    t[(std::size_t(y) * width + x) * 4 + c] = at(c, x, y);
        return t;
    }
    bool paddingIntact() const {
        for (int y = 0; y < height; ++y)
            for (int i = width * 4; i < stride; ++i)
                if (bytes[std::size_t(y) * stride + i] != 0xA5)
                    return false;
        return bytes.back() == 0xA5;
    }
};

// A picture of random bytes (the fourth byte random too), the same for the same seed.
inline Picture randomPicture(int w, int h, unsigned seed, int lo = 0, int hi = 255) {
    Picture p(w, h);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> d(lo, hi);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.set(x, y, d(rng), d(rng), d(rng), d(rng));
    return p;
}

} // namespace imaging_test
