// The editor's toolbar transforms against plain loops written from the rules: the brightness step
// per channel, and the reflections and the quarter turn as pixel mappings.
#include "imaging/transforms.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

using imaging::BitmapView;

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
    imaging::AdjustBrightness(p.view(), out.view(), 99);
    EXPECT_EQ(out.at(0, 0), pixel(255, 109, 255));
    imaging::AdjustBrightness(p.view(), out.view(), -99);
    EXPECT_EQ(out.at(0, 0), pixel(101, 0, 151));
    imaging::AdjustBrightness(p.view(), out.view(), 0);
    EXPECT_EQ(out.at(0, 0), pixel(200, 10, 250));
}

TEST(Brightness, EveryLevelOnEveryWidthMatchesThePerChannelRule) {
    for (int w : {1, 2, 3, 4, 5, 7, 8, 9, 17, 33}) {
        Picture src = randomPicture(w, 5, unsigned(w));
        // Fourth bytes vary too: they must come through unchanged.
        for (int x = 0; x < w; ++x)
            src.at(x, 0) = (src.at(x, 0) & 0xFFFFFFu) | std::uint32_t(x * 37 & 0xFF) << 24;
        for (int level = imaging::kMinBrightness; level <= imaging::kMaxBrightness; level += 7) {
            Picture out(w, 5);
            imaging::AdjustBrightness(src.view(), out.view(), level);
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
    imaging::AdjustBrightness(p.view(), p.view(), 60);
    imaging::AdjustBrightness(p.view(), p.view(), 60);
    EXPECT_EQ(p.at(0, 0), pixel(220, 120, 255));
    EXPECT_TRUE(p.paddingIntact());
}

// ---- mirror and flip --------------------------------------------------------------------

TEST(Reflections, MirrorAndFlipAreTheirMappingsAndUndoThemselves) {
    for (auto [w, h] : {std::pair{1, 1}, {2, 1}, {1, 2}, {3, 3}, {4, 5}, {7, 2}, {16, 9}}) {
        const Picture original = randomPicture(w, h, unsigned(w * 31 + h));
        Picture m = original;
        imaging::MirrorPicture(m.view());
        Picture f = original;
        imaging::FlipPicture(f.view());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                ASSERT_EQ(m.at(x, y), original.at(w - 1 - x, y)) << w << "x" << h;
                ASSERT_EQ(f.at(x, y), original.at(x, h - 1 - y)) << w << "x" << h;
            }
        EXPECT_TRUE(m.paddingIntact());
        EXPECT_TRUE(f.paddingIntact());
        // Into another buffer: the same pictures, and the source stays as it was.
        Picture source = original, m2(w, h), f2(w, h);
        imaging::MirrorPicture(source.view(), m2.view());
        imaging::FlipPicture(source.view(), f2.view());
        EXPECT_EQ(m2.words, m.words);
        EXPECT_EQ(f2.words, f.words);
        EXPECT_EQ(source.words, original.words);
        imaging::MirrorPicture(m.view());
        imaging::FlipPicture(f.view());
        EXPECT_EQ(m.words, original.words);
        EXPECT_EQ(f.words, original.words);
    }
}

// ---- the quarter turn -------------------------------------------------------------------

// Sizes around the four-pixel steps and the tiles, odd and even, thin and square.
TEST(QuarterTurn, EverySizeIsTheExactClockwiseTurnAndFourGiveThePictureBack) {
    for (auto [w, h] : {std::pair{1, 1},
                        {1, 2},
                        {2, 1},
                        {2, 2},
                        {3, 3},
                        {4, 4},
                        {5, 3},
                        {3, 5},
                        {7, 9},
                        {200, 100},
                        {100, 200},
                        {1, 300},
                        {300, 1},
                        {63, 65},
                        {129, 67},
                        {201, 99},
                        {333, 777}}) {
        const Picture original = randomPicture(w, h, unsigned(w * 1000 + h));
        Picture turned(h, w);
        imaging::RotateQuarter(const_cast<Picture&>(original).view(), turned.view());
        for (int y = 0; y < w; ++y)
            for (int x = 0; x < h; ++x)
                ASSERT_EQ(turned.at(x, y), original.at(y, h - 1 - x))
                    << w << "x" << h << " at " << x << "," << y;
        EXPECT_TRUE(turned.paddingIntact()) << w << "x" << h;

        Picture twice(w, h), thrice(h, w), back(w, h);
        imaging::RotateQuarter(turned.view(), twice.view());
        imaging::RotateQuarter(twice.view(), thrice.view());
        imaging::RotateQuarter(thrice.view(), back.view());
        EXPECT_EQ(back.words, original.words) << w << "x" << h;
    }
}

} // namespace
