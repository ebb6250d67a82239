// The bitmap class: row sizes, depths and colour tables, copies, painting, and the derived
// pictures, with expected values worked out from the pixel layout by hand.
#include "imaging/cimage.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace imaging;

namespace {

// A 24-bit picture whose pixel (x, y) has red x, green y, blue 100.
cImage numbered(int w, int h) {
    cImage img;
    EXPECT_TRUE(img.Create(w, h, 24));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setValueAt(x, y, MakeColour(x, y, 100));
    return img;
}

Colour at(const cImage& img, int x, int y) {
    return img.colourAt(x, y);
}

std::vector<RgbQuad> greyTable(int n) {
    std::vector<RgbQuad> t;
    for (int i = 0; i < n; ++i)
        t.push_back(RgbQuad{std::uint8_t(i), std::uint8_t(i * 2), std::uint8_t(i * 3), 0});
    return t;
}

} // namespace

TEST(cImage, BytesPerScanLine) {
    for (std::int16_t bits : {1, 4, 8, 24}) {
        cImage img;
        ASSERT_TRUE(img.Create(1, 3, bits));
        EXPECT_EQ(img.BytesPerScanLine(), 4) << bits;
        EXPECT_EQ(img.header().biSizeImage, 12);
    }
    const std::tuple<int, std::int16_t, int> rows[] = {{32, 1, 4},  {33, 1, 8}, {8, 4, 4},
                                                       {9, 4, 8},   {5, 8, 8},  {4, 8, 4},
                                                       {5, 24, 16}, {4, 24, 12}};
    for (auto [w, bits, bytes] : rows) {
        cImage img;
        ASSERT_TRUE(img.Create(w, 2, bits));
        EXPECT_EQ(img.BytesPerScanLine(), bytes) << w << " at " << bits;
    }
}

TEST(cImage, OverflowIsAnErrorNotAWrap) {
    cImage img;
    EXPECT_THROW(img.Create(800000000, 1, 24), std::overflow_error); // 3W + 3 > 2^31
    EXPECT_EQ(img.hDC(), 0);
    EXPECT_THROW(img.Create(100000, 100000, 24), std::overflow_error); // image size
    EXPECT_EQ(img.hDC(), 0);
    EXPECT_EQ(img.width(), 0);
}

TEST(cImage, CreateDepthsHeaderAndGreyRamp) {
    cImage img;
    EXPECT_EQ(img.hDC(), 0);
    EXPECT_EQ(img.DIBitsPtr(), nullptr);
    for (std::int16_t bits : {0, 2, 16, 32})
        EXPECT_FALSE(img.Create(4, 4, bits));
    EXPECT_FALSE(img.Create(0, 4, 8));
    EXPECT_FALSE(img.Create(4, -4, 8));
    EXPECT_EQ(img.hDC(), 0);

    ASSERT_TRUE(img.Create(7, 5, 4));
    EXPECT_NE(img.hDC(), 0);
    const BitmapInfoHeader& h = img.header();
    EXPECT_EQ(h.biSize, 40);
    EXPECT_EQ(h.biWidth, 7);
    EXPECT_EQ(h.biHeight, 5);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 4);
    EXPECT_EQ(h.biCompression, 0);
    EXPECT_EQ(h.biSizeImage, 5 * 4);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(img.colourTable()[i],
                  (RgbQuad{std::uint8_t(17 * i), std::uint8_t(17 * i), std::uint8_t(17 * i), 0}));
    ASSERT_TRUE(img.Create(3, 3, 1));
    EXPECT_EQ(img.colourTable()[0], (RgbQuad{0, 0, 0, 0}));
    EXPECT_EQ(img.colourTable()[1], (RgbQuad{255, 255, 255, 0}));
    ASSERT_TRUE(img.Create(3, 3, 8));
    EXPECT_EQ(img.colourTable()[200], (RgbQuad{200, 200, 200, 0}));
    // A failed Create leaves the object empty.
    EXPECT_FALSE(img.Create(3, 3, 16));
    EXPECT_EQ(img.hDC(), 0);
}

TEST(cImage, PixelLayoutIsBottomUpAndPacked) {
    cImage one;
    ASSERT_TRUE(one.Create(10, 2, 1));
    one.setValueAt(0, 1, 1); // bottom row: first in memory, leftmost pixel in the high bit
    one.setValueAt(9, 1, 1);
    EXPECT_EQ(one.DIBitsPtr()[0], 0x80);
    EXPECT_EQ(one.DIBitsPtr()[1], 0x40);
    EXPECT_EQ(one.DIBitsPtr()[4], 0x00); // top row starts 4 bytes on
    cImage four;
    ASSERT_TRUE(four.Create(3, 1, 4));
    four.setValueAt(0, 0, 0xA);
    four.setValueAt(1, 0, 0x5);
    EXPECT_EQ(four.DIBitsPtr()[0], 0xA5);
    cImage rgb;
    ASSERT_TRUE(rgb.Create(2, 2, 24));
    rgb.setValueAt(1, 1, MakeColour(1, 2, 3));
    EXPECT_EQ(rgb.DIBitsPtr()[3], 3); // blue, green, red
    EXPECT_EQ(rgb.DIBitsPtr()[4], 2);
    EXPECT_EQ(rgb.DIBitsPtr()[5], 1);
}

TEST(cImage, Rotate) {
    const cImage img = numbered(3, 2);
    auto r90 = img.rotate(90);
    ASSERT_TRUE(r90);
    EXPECT_EQ(r90->width(), 2);
    EXPECT_EQ(r90->height(), 3);
    EXPECT_EQ(at(*r90, 0, 0), at(img, 2, 0)); // (W - 1 - y, x)
    EXPECT_EQ(at(*r90, 1, 0), at(img, 2, 1));
    EXPECT_EQ(at(*r90, 0, 2), at(img, 0, 0));
    auto r270 = img.rotate(270);
    ASSERT_TRUE(r270);
    EXPECT_EQ(at(*r270, 0, 0), at(img, 0, 1)); // (y, H - 1 - x)
    EXPECT_EQ(at(*r270, 1, 2), at(img, 2, 0));
    auto r180 = img.rotate(180);
    ASSERT_TRUE(r180);
    EXPECT_EQ(at(*r180, 0, 0), at(img, 2, 1));
    EXPECT_EQ(at(*r180, 2, 1), at(img, 0, 0));
    auto minus90 = img.rotate(-90);
    ASSERT_TRUE(minus90);
    EXPECT_EQ(minus90->toSurface().pixels, r270->toSurface().pixels);
    auto r450 = img.rotate(450);
    ASSERT_TRUE(r450);
    EXPECT_EQ(r450->toSurface().pixels, r90->toSurface().pixels);
    for (int angle : {0, 360, 45, 359, -1, 92})
        EXPECT_FALSE(img.rotate(angle)) << angle;
}

TEST(cImage, StretchedQuarterTurnKeepsTheFrame) {
    const cImage wide = numbered(200, 100);
    auto s = wide.rotate(91);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->width(), 200);
    EXPECT_EQ(s->height(), 100);
    auto q = wide.rotate(90);
    EXPECT_EQ(q->width(), 100);
    EXPECT_EQ(q->height(), 200);
    // The top-left corner comes from the old top-right, the bottom-right from the old
    // bottom-left, as in the anticlockwise turn (each new row spans two old columns here).
    EXPECT_EQ(at(*s, 0, 0), at(wide, 199, 0));
    const Colour corner = at(*s, 199, 99);
    EXPECT_TRUE(corner == at(wide, 0, 99) || corner == at(wide, 1, 99)) << corner;
    // A new row y takes the old column (100 - y - 0.5) x 2, sampled at its centre.
    EXPECT_EQ(at(*s, 0, 49), at(wide, 101, 0));
    // On a square picture the stretch is the plain quarter turn.
    const cImage square = numbered(5, 5);
    EXPECT_EQ(square.rotate(91)->toSurface().pixels, square.rotate(90)->toSurface().pixels);
}

TEST(cImage, MirrorTwiceGivesThePictureBack) {
    const cImage img = numbered(4, 3);
    auto h = img.Mirror(false);
    ASSERT_TRUE(h);
    EXPECT_EQ(at(*h, 0, 0), at(img, 3, 0));
    EXPECT_EQ(at(*h, 1, 2), at(img, 2, 2));
    auto v = img.Mirror(true);
    EXPECT_EQ(at(*v, 0, 0), at(img, 0, 2));
    EXPECT_EQ(h->Mirror(false)->toSurface().pixels, img.toSurface().pixels);
    EXPECT_EQ(v->Mirror(true)->toSurface().pixels, img.toSurface().pixels);
    // Below 24 bits the colour table travels along.
    cImage pal;
    ASSERT_TRUE(pal.Create(9, 2, 4));
    pal.setColourTable(0, greyTable(16));
    pal.setValueAt(0, 0, 7);
    auto m = pal.Mirror(false);
    EXPECT_EQ(m->bitcount(), 4);
    EXPECT_EQ(m->valueAt(8, 0), 7u);
    EXPECT_EQ(m->colourTable()[7], greyTable(16)[7]);
}

TEST(cImage, CopyStdPictureChoosesTheDepth) {
    StdPicture sixteen{16, Surface(3, 2, MakeColour(10, 20, 30))};
    cImage img;
    std::int16_t depth = 0;
    ASSERT_TRUE(img.CopyStdPicture(sixteen, depth));
    EXPECT_EQ(depth, 24);
    EXPECT_EQ(img.bitcount(), 24);
    EXPECT_EQ(at(img, 2, 1), MakeColour(10, 20, 30));

    StdPicture thirtyTwo{32, Surface(3, 2)};
    depth = 0;
    EXPECT_FALSE(img.CopyStdPicture(thirtyTwo, depth));
    EXPECT_EQ(depth, 32);
    EXPECT_EQ(img.hDC(), 0);

    // An 8-bit picture brings its table; its colours land on their own indexes.
    StdPicture eight{8, Surface(2, 1)};
    eight.bitmap.colourTable = greyTable(256);
    eight.bitmap.at(0, 0) = MakeColour(3 * 40, 2 * 40, 40);
    eight.bitmap.at(1, 0) = MakeColour(3 * 77, 2 * 77, 77);
    depth = 0;
    ASSERT_TRUE(img.CopyStdPicture(eight, depth));
    EXPECT_EQ(depth, 8);
    EXPECT_EQ(img.valueAt(0, 0), 40u);
    EXPECT_EQ(img.valueAt(1, 0), 77u);

    // A chosen depth keeps the grey ramp and matches colours to the nearest grey.
    depth = 8;
    ASSERT_TRUE(img.CopyStdPicture(eight, depth));
    EXPECT_EQ(img.valueAt(0, 0), 80u); // (120 + 80 + 40) / 3
}

TEST(cImage, CopyHDCChoosesTheDepthFromTheTable) {
    Surface plain(6, 4, MakeColour(1, 2, 3));
    plain.at(4, 3) = MakeColour(9, 8, 7);
    cImage img;
    ASSERT_TRUE(img.CopyHDC(plain, 2, 1, 0, 4, 3));
    EXPECT_EQ(img.bitcount(), 24);
    EXPECT_EQ(at(img, 0, 0), MakeColour(9, 8, 7));
    const std::pair<int, int> depths[] = {{1, 1}, {2, 1}, {3, 4}, {16, 4}, {17, 8}, {256, 8}};
    for (auto [entries, bits] : depths) {
        Surface s(2, 2, 0);
        s.colourTable = greyTable(entries);
        ASSERT_TRUE(img.CopyHDC(s, 2, 2, 0, 0, 0));
        EXPECT_EQ(img.bitcount(), bits) << entries;
        EXPECT_EQ(img.colourTable()[entries - 1], greyTable(entries)[entries - 1]);
    }
}

TEST(cImage, CopyPalletHDC) {
    Surface s(1, 1);
    s.colourTable = greyTable(256);
    cImage eight;
    ASSERT_TRUE(eight.Create(2, 2, 8));
    EXPECT_TRUE(eight.CopyPalletHDC(s));
    EXPECT_EQ(eight.colourTable()[255], greyTable(256)[255]);
    cImage one;
    ASSERT_TRUE(one.Create(2, 2, 1));
    EXPECT_TRUE(one.CopyPalletHDC(s)); // reads 2 entries, writes 2
    EXPECT_EQ(one.colourTable()[1], greyTable(2)[1]);
    cImage rgb;
    ASSERT_TRUE(rgb.Create(2, 2, 24));
    EXPECT_FALSE(rgb.CopyPalletHDC(s)); // a true-colour picture takes no table
    EXPECT_FALSE(eight.CopyPalletHDC(Surface(1, 1)));
}

TEST(cImage, PaintHDCClipsAndCombines) {
    const cImage img = numbered(3, 2);
    Surface dest(4, 4, MakeColour(255, 0, 0));
    img.PaintHDC(dest, 2, 3);
    EXPECT_EQ(dest.at(2, 3), MakeColour(0, 0, 100));
    EXPECT_EQ(dest.at(3, 3), MakeColour(1, 0, 100));
    EXPECT_EQ(dest.at(1, 3), MakeColour(255, 0, 0));
    Surface inv(3, 2, 0xFFFFFF);
    img.PaintHDC(inv, 0, 0, RasterOp::SrcInvert);
    EXPECT_EQ(inv.at(2, 1), MakeColour(255 - 2, 255 - 1, 255 - 100));
    img.PaintHDC(inv, -1, -1, RasterOp::Blackness);
    EXPECT_EQ(inv.at(1, 0), 0u);
    EXPECT_EQ(inv.at(2, 1), MakeColour(255 - 2, 255 - 1, 255 - 100));
}

TEST(cImage, GreyScaleTakesTheNearestGrey) {
    cImage img;
    ASSERT_TRUE(img.Create(2, 1, 24));
    img.setValueAt(0, 0, MakeColour(10, 20, 31)); // 61 / 3 = 20.33
    img.setValueAt(1, 0, MakeColour(10, 20, 32)); // 62 / 3 = 20.67
    auto g = img.GreyScale();
    ASSERT_TRUE(g);
    EXPECT_EQ(g->bitcount(), 8);
    EXPECT_EQ(g->valueAt(0, 0), 20u);
    EXPECT_EQ(g->valueAt(1, 0), 21u);
    EXPECT_EQ(g->colourTable()[21], (RgbQuad{21, 21, 21, 0}));
    EXPECT_FALSE(cImage().GreyScale());
}

TEST(cImage, ResampleAveragesAreas) {
    cImage img;
    ASSERT_TRUE(img.Create(4, 2, 24));
    const int v[2][4] = {{0, 10, 100, 255}, {20, 30, 0, 0}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            img.setValueAt(x, y, MakeColour(v[y][x], v[y][x], v[y][x]));
    auto half = img.Resample(2, 1);
    ASSERT_TRUE(half);
    EXPECT_EQ(half->width(), 2);
    EXPECT_EQ(at(*half, 0, 0), MakeColour(15, 15, 15)); // (0 + 10 + 20 + 30) / 4
    EXPECT_EQ(at(*half, 1, 0), MakeColour(89, 89, 89)); // 355 / 4 = 88.75
    auto pair = img.Resample(1, 1);
    EXPECT_EQ(at(*pair, 0, 0), MakeColour(52, 52, 52)); // 415 / 8 = 51.875
    auto twice = img.Resample(8, 4);
    EXPECT_EQ(at(*twice, 7, 0), MakeColour(255, 255, 255)); // each old pixel repeated
    EXPECT_EQ(at(*twice, 4, 3), MakeColour(0, 0, 0));
    auto same = img.Resample(4, 2);
    EXPECT_EQ(same->toSurface().pixels, img.toSurface().pixels);
    cImage ends;
    ASSERT_TRUE(ends.Create(2, 1, 24));
    ends.setValueAt(1, 0, MakeColour(255, 255, 255));
    EXPECT_EQ(at(*ends.Resample(1, 1), 0, 0), MakeColour(128, 128, 128)); // 127.5: even
    EXPECT_FALSE(img.Resample(0, 3));
}

TEST(cImage, OddInputsFailCleanly) {
    // A picture whose pixel count does not match its size is refused, not read past.
    StdPicture broken{24, Surface(4, 4)};
    broken.bitmap.pixels.resize(3);
    cImage img;
    std::int16_t depth = 0;
    EXPECT_FALSE(img.CopyStdPicture(broken, depth));
    // A source rectangle partly outside the surface copies what is there, the rest stays 0.
    Surface s(2, 2, MakeColour(9, 9, 9));
    ASSERT_TRUE(img.CopyHDC(s, 3, 3, 24, 1, 1));
    EXPECT_EQ(at(img, 0, 0), MakeColour(9, 9, 9));
    EXPECT_EQ(at(img, 1, 1), 0u);
    EXPECT_TRUE(img.CopyHDC(s, 2, 2, 24, -100000, 2000000000));
    EXPECT_EQ(at(img, 0, 0), 0u);
    // Derived pictures of an empty object are none; a 1 x 1 picture turns into itself.
    const cImage empty;
    EXPECT_FALSE(empty.Mirror(false));
    EXPECT_FALSE(empty.rotate(90));
    EXPECT_FALSE(empty.Resample(2, 2));
    const cImage dot = numbered(1, 1);
    for (int angle : {90, 91, 180, 270})
        EXPECT_EQ(at(*dot.rotate(angle), 0, 0), at(dot, 0, 0)) << angle;
}

TEST(cImage, PalettisedResampleMatchesTheTable) {
    cImage pal;
    ASSERT_TRUE(pal.Create(4, 1, 1)); // black and white
    pal.setValueAt(0, 0, 1);
    pal.setValueAt(1, 0, 1); // white, white, black, black
    auto half = pal.Resample(2, 1);
    ASSERT_TRUE(half);
    EXPECT_EQ(half->bitcount(), 1);
    EXPECT_EQ(half->valueAt(0, 0), 1u);
    EXPECT_EQ(half->valueAt(1, 0), 0u);
    auto grey = pal.GreyScale();
    EXPECT_EQ(grey->valueAt(0, 0), 255u);
    EXPECT_EQ(grey->valueAt(3, 0), 0u);
}
