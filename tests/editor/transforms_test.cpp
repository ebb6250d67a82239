// The editor's transforms against plain loops written from the rules: the brightness step per
// channel, the two reflections as pixel mappings, and the quarter turn against the literal
// pixel-by-pixel polar loop with single-pixel reads and writes.
#include "editor/transforms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using editor::BitmapView;

constexpr int kPad = 3; // pixels of padding after each row, to catch stride mistakes
constexpr std::uint32_t kPadValue = 0x5A5A5A5Au;

// A 32-bit picture with padded rows.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> words;
    Picture(int w, int h) : width(w), height(h), words(std::size_t(w + kPad) * h, kPadValue) {}
    std::uint32_t& at(int x, int y) { return words[std::size_t(y) * (width + kPad) + x]; }
    std::uint32_t at(int x, int y) const { return words[std::size_t(y) * (width + kPad) + x]; }
    BitmapView view() {
        return {reinterpret_cast<std::uint8_t*>(words.data()), width, height,
                std::ptrdiff_t(width + kPad) * 4};
    }
    bool paddingIntact() const {
        for (int y = 0; y < height; ++y)
            for (int p = 0; p < kPad; ++p)
                if (words[std::size_t(y) * (width + kPad) + width + p] != kPadValue)
                    return false;
        return true;
    }
};

Picture randomPicture(int w, int h, unsigned seed) {
    Picture p(w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.at(x, y) = 0xFF000000u | (rng() & 0xFFFFFFu);
    return p;
}

std::uint32_t pixel(int red, int green, int blue, int fourth = 0xFF) {
    return std::uint32_t(blue) | std::uint32_t(green) << 8 | std::uint32_t(red) << 16 |
           std::uint32_t(fourth) << 24;
}

// ---- brightness -------------------------------------------------------------------------

// The rule: split the colour, add the level to each channel, limit each to 0 ... 255.
std::uint32_t brightnessReference(std::uint32_t c, int v) {
    const int blue = int(c & 0xFF), green = int((c >> 8) & 0xFF), red = int((c >> 16) & 0xFF);
    auto limit = [](int x) { return x > 255 ? 255 : (x < 0 ? 0 : x); };
    return pixel(limit(red + v), limit(green + v), limit(blue + v), int(c >> 24));
}

TEST(Brightness, WorkedPixels) {
    Picture p(1, 1);
    p.at(0, 0) = pixel(200, 10, 250);
    Picture out(1, 1);
    editor::AdjustBrightness(p.view(), out.view(), 99);
    EXPECT_EQ(out.at(0, 0), pixel(255, 109, 255));
    editor::AdjustBrightness(p.view(), out.view(), -99);
    EXPECT_EQ(out.at(0, 0), pixel(101, 0, 151));
    editor::AdjustBrightness(p.view(), out.view(), 0);
    EXPECT_EQ(out.at(0, 0), pixel(200, 10, 250));
}

TEST(Brightness, EveryLevelOnEveryWidthMatchesThePerChannelRule) {
    for (int w : {1, 2, 3, 4, 5, 7, 8, 9, 17, 33}) {
        Picture src = randomPicture(w, 5, unsigned(w));
        // Fourth bytes vary too: they must come through unchanged.
        for (int x = 0; x < w; ++x)
            src.at(x, 0) = (src.at(x, 0) & 0xFFFFFFu) | std::uint32_t(x * 37 & 0xFF) << 24;
        for (int level = editor::kMinBrightness; level <= editor::kMaxBrightness; level += 7) {
            Picture out(w, 5);
            editor::AdjustBrightness(src.view(), out.view(), level);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(out.at(x, y), brightnessReference(src.at(x, y), level))
                        << "w " << w << " level " << level << " at " << x << "," << y;
            ASSERT_TRUE(out.paddingIntact());
        }
    }
}

TEST(Brightness, InPlaceTwiceAddsTwice) {
    Picture p(6, 2);
    p.at(0, 0) = pixel(100, 0, 255);
    editor::AdjustBrightness(p.view(), p.view(), 60);
    editor::AdjustBrightness(p.view(), p.view(), 60);
    EXPECT_EQ(p.at(0, 0), pixel(220, 120, 255));
    EXPECT_TRUE(p.paddingIntact());
}

// ---- mirror and flip --------------------------------------------------------------------

TEST(Reflections, MirrorAndFlipAreTheirMappingsAndUndoThemselves) {
    for (auto [w, h] : {std::pair{1, 1}, {2, 1}, {1, 2}, {3, 3}, {4, 5}, {7, 2}, {16, 9}}) {
        const Picture original = randomPicture(w, h, unsigned(w * 31 + h));
        Picture m = original;
        editor::MirrorPicture(m.view());
        Picture f = original;
        editor::FlipPicture(f.view());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                ASSERT_EQ(m.at(x, y), original.at(w - 1 - x, y)) << w << "x" << h;
                ASSERT_EQ(f.at(x, y), original.at(x, h - 1 - y)) << w << "x" << h;
            }
        EXPECT_TRUE(m.paddingIntact());
        EXPECT_TRUE(f.paddingIntact());
        // Into another buffer: the same pictures, and the source stays as it was.
        Picture source = original, m2(w, h), f2(w, h);
        editor::MirrorPicture(source.view(), m2.view());
        editor::FlipPicture(source.view(), f2.view());
        EXPECT_EQ(m2.words, m.words);
        EXPECT_EQ(f2.words, f.words);
        EXPECT_EQ(source.words, original.words);
        editor::MirrorPicture(m.view());
        editor::FlipPicture(f.view());
        EXPECT_EQ(m.words, original.words);
        EXPECT_EQ(f.words, original.words);
    }
}

// ---- the quarter turn -------------------------------------------------------------------

// A drawing surface with single-pixel reads and writes: a read outside yields the invalid
// colour, a write outside does nothing.
constexpr std::int64_t kInvalid = -1;

struct Surface {
    int width, height;
    std::vector<std::uint32_t> px;
    Surface(int w, int h, std::uint32_t fill) : width(w), height(h), px(std::size_t(w) * h, fill) {}
    std::int64_t get(long x, long y) const {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return kInvalid;
        return px[std::size_t(y) * width + x];
    }
    void set(long x, long y, std::int64_t c) {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return;
        px[std::size_t(y) * width + x] = std::uint32_t(c);
    }
};

// The rotation step by step: angle 90 with the direction flag set, source and destination
// of the picture's size, the destination cleared to the background.
Surface polarTurnReference(const Picture& picture, std::uint32_t background) {
    Surface S(picture.width, picture.height, 0);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            S.px[std::size_t(y) * S.width + x] = picture.at(x, y);
    Surface D(picture.width, picture.height, background);

    const float angle = 90;
    const bool direction = true;
    const float degrees = direction ? 360 - angle : angle;
    auto toInt = [](double v) { return long(std::nearbyint(v)); }; // ties to even
    const long cxS = toInt(S.width / 2.0), cyS = toInt(S.height / 2.0);
    const long cxD = toInt(D.width / 2.0), cyD = toInt(D.height / 2.0);
    const float R = float(std::max(D.width, D.height) / 2.0);
    long offX = 0, offY = 0;
    if (degrees == 90 || degrees == 270) {
        const int W = D.width, H = D.height;
        offX = toInt((H - W) / 2.0 - 2);
        offY = toInt((W - H) / 2.0);
        D = Surface(H, W, background);
    }
    const double pi = 3.14159265358979;
    const float theta = float(pi / 180 * degrees);
    const long bound = toInt(R);
    for (long i = 0; i <= bound; ++i)
        for (long c = 0; c <= bound; ++c) {
            const float phi = i == 0 ? float(pi / 2) : float(std::atan(double(c) / double(i)));
            const long d = toInt(std::sqrt(double(c * c + i * i)));
            const long X = toInt(d * std::cos(double(phi) + double(theta)));
            const long Y = toInt(d * std::sin(double(phi) + double(theta)));
            const std::int64_t P0 = S.get(cxS + X, cyS + Y);
            const std::int64_t P1 = S.get(cxS - X, cyS - Y);
            const std::int64_t P2 = S.get(cxS + Y, cyS - X);
            const std::int64_t P3 = S.get(cxS - Y, cyS + X);
            if (P0 != kInvalid)
                D.set(cxD + i + offX, cyD + c + offY, P0);
            if (P1 != kInvalid)
                D.set(cxD - i + offX, cyD - c + offY, P1);
            if (P2 != kInvalid)
                D.set(cxD + c + offX, cyD - i + offY, P2);
            if (P3 != kInvalid)
                D.set(cxD - c + offX, cyD + i + offY, P3);
        }
    return D;
}

// Compares the fast turn with the reference loop; returns the number of differing pixels.
long turnDifferences(int w, int h, unsigned seed) {
    const Picture source = randomPicture(w, h, seed);
    Picture turned(h, w);
    editor::RotateQuarter(const_cast<Picture&>(source).view(), turned.view(),
                          editor::kSurfaceBackground);
    EXPECT_TRUE(turned.paddingIntact()) << w << "x" << h;
    const Surface expected = polarTurnReference(source, editor::kSurfaceBackground);
    EXPECT_EQ(expected.width, h);
    EXPECT_EQ(expected.height, w);
    long differences = 0;
    for (int y = 0; y < w; ++y)
        for (int x = 0; x < h; ++x)
            if (turned.at(x, y) != expected.px[std::size_t(y) * h + x]) {
                if (differences < 5)
                    ADD_FAILURE() << w << "x" << h << ": pixel " << x << "," << y << " is "
                                  << std::hex << turned.at(x, y) << " instead of "
                                  << expected.px[std::size_t(y) * h + x];
                ++differences;
            }
    return differences;
}

TEST(QuarterTurn, TwoHundredByOneHundred) {
    const int W = 200, H = 100;
    const Picture source = randomPicture(W, H, 5);
    Picture turned(H, W);
    editor::RotateQuarter(const_cast<Picture&>(source).view(), turned.view(),
                          editor::kSurfaceBackground);
    // The top row is the old left column read from bottom to top without its bottom pixel.
    for (int x = 0; x < H - 1; ++x)
        EXPECT_EQ(turned.at(x, 0), source.at(0, H - 2 - x)) << x;
    // The rightmost column keeps the background.
    for (int y = 0; y < W; ++y)
        EXPECT_EQ(turned.at(H - 1, y), editor::kSurfaceBackground) << y;
    // Everywhere else: new (x, y) = old (y, H - 2 - x).
    for (int y = 0; y < W; ++y)
        for (int x = 0; x < H - 1; ++x)
            ASSERT_EQ(turned.at(x, y), source.at(y, H - 2 - x)) << x << "," << y;
}

TEST(QuarterTurn, EverySmallSizeMatchesThePolarLoop) {
    for (int w = 1; w <= 24; ++w)
        for (int h = 1; h <= 24; ++h)
            ASSERT_EQ(turnDifferences(w, h, unsigned(w * 100 + h)), 0) << w << "x" << h;
}

TEST(QuarterTurn, OddAndEvenRectanglesMatchThePolarLoop) {
    for (auto [w, h] : {std::pair{200, 100},
                        {100, 200},
                        {201, 99},
                        {99, 201},
                        {640, 480},
                        {481, 641},
                        {333, 777},
                        {1000, 999},
                        {1, 300},
                        {300, 1},
                        {2, 501}})
        EXPECT_EQ(turnDifferences(w, h, unsigned(w + h)), 0) << w << "x" << h;
}

// Large pictures have steps whose rounding strays from the exact neighbour; those must come
// out as the loop draws them too.
TEST(QuarterTurn, LargePicturesMatchThePolarLoop) {
    for (auto [w, h] : {std::pair{3001, 2000}, {2500, 3333}})
        EXPECT_EQ(turnDifferences(w, h, 99), 0) << w << "x" << h;
}

} // namespace
