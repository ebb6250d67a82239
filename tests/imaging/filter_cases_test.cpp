// Worked cases, computed by hand from the filter rules.
#include "imaging/filter_engine.h"
#include "imaging/filter_table.h"
#include "imaging/random.h"
#include "test_picture.h"

#include <gtest/gtest.h>

using namespace imaging_test;
using imaging::RgbColour;

namespace {

void apply(int code, std::int32_t parameter, Picture& picture) {
    std::int32_t progress = 0;
    const auto out = imaging::ApplyFilter(code, picture.view(), parameter, progress);
    ASSERT_EQ(out.status, imaging::FilterOutcome::Status::Done) << code;
    ASSERT_EQ(progress, 100);
}

Picture onePixel(int b, int g, int r) {
    Picture p(1, 1);
    p.set(0, 0, b, g, r);
    return p;
}

// Expects channel c of every pixel to be `values[y][x]` (all channels equal here).
void expectGrey(const Picture& p, const std::vector<std::vector<int>>& values) {
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(p.at(c, x, y), values[y][x]) << x << "," << y << " channel " << c;
}

} // namespace

TEST(ColourFilters, NegativeTwiceGivesThePictureBack) {
    Picture p = randomPicture(9, 4, 21);
    const auto before = p.tight();
    apply(2, 0, p);
    EXPECT_EQ(p.at(0, 3, 2), 255 - before[(2 * 9 + 3) * 4]);
    apply(2, 0, p);
    EXPECT_EQ(p.tight(), before);
}

TEST(ColourFilters, GreyTruncates) {
    Picture p = onePixel(1, 1, 0); // 2 \ 3 = 0
    apply(12, 0, p);
    expectGrey(p, {{0}});
    Picture q = onePixel(10, 20, 32); // 62 \ 3 = 20
    apply(12, 0, q);
    expectGrey(q, {{20}});
}

TEST(ColourFilters, BlackAndWhiteThresholdsAreStrict) {
    Picture p(2, 1);
    p.set(0, 0, 179, 179, 179);
    p.set(1, 0, 179, 179, 180); // red reaches the threshold
    apply(18, RgbColour(180, 180, 180), p);
    expectGrey(p, {{0, 255}});
}

TEST(ColourFilters, ContrastBalancesAChannelBelowZero) {
    // Blue 29, green and red 82: grey 193 \ 3 = 64. Parameter 100 doubles: the curve gives
    // 2 x (29 - 64) + 64 = -6 and 2 x (82 - 64) + 64 = 100. Blue hands -6 \ 2 = -3 to the
    // others: 0, 97, 97.
    Picture p = onePixel(29, 82, 82);
    apply(17, 100, p);
    EXPECT_EQ(p.at(0, 0, 0), 0);
    EXPECT_EQ(p.at(1, 0, 0), 97);
    EXPECT_EQ(p.at(2, 0, 0), 97);
}

TEST(ColourFilters, ContrastSaturatesWhenAllChannelsLeaveTheRange) {
    // Mean grey (250 + 251 + 252) \ 3 = 251 for one pixel: contrast +10 keeps it (the
    // channel equal to the mean stays). Two pixels pull the mean down so all three leave.
    Picture p(2, 1);
    p.set(0, 0, 250, 252, 254);
    p.set(1, 0, 0, 0, 0); // mean (252 + 0) \ 2 = 126
    apply(17, 100, p);    // 2 x (250 - 126) + 126 = 374 and up: white; 0 -> -126: black
    expectGrey(p, {{255, 0}});
    Picture grey(3, 3);
    grey.fill(77, 77, 77);
    apply(17, 10, grey);
    expectGrey(grey, {{77, 77, 77}, {77, 77, 77}, {77, 77, 77}});
}

TEST(ColourFilters, RoundingTiesGoToEven) {
    Picture p = onePixel(1, 3, 5); // brightness +50: 1.5, 4.5, 7.5
    apply(14, 50, p);
    EXPECT_EQ(p.at(0, 0, 0), 2);
    EXPECT_EQ(p.at(1, 0, 0), 4);
    EXPECT_EQ(p.at(2, 0, 0), 8);
    Picture s = onePixel(11, 12, 13); // saturation +50, grey 12: 10.5, 12, 13.5
    apply(30, 50, s);
    EXPECT_EQ(s.at(0, 0, 0), 10);
    EXPECT_EQ(s.at(1, 0, 0), 12);
    EXPECT_EQ(s.at(2, 0, 0), 14);
}

TEST(ColourFilters, SaturationKeepsGreyGammaOneKeepsAll) {
    Picture p = onePixel(90, 90, 90);
    apply(30, 250, p);
    expectGrey(p, {{90}});
    Picture q = randomPicture(7, 3, 22);
    const auto before = q.tight();
    apply(31, 100, q);
    EXPECT_EQ(q.tight(), before);
    Picture r = onePixel(64, 128, 255); // gamma 2: sqrt(64 / 255) x 255 = 127.75
    apply(31, 200, r);
    EXPECT_EQ(r.at(0, 0, 0), 128);
    EXPECT_EQ(r.at(1, 0, 0), 181); // sqrt(128 / 255) x 255 = 180.67
    EXPECT_EQ(r.at(2, 0, 0), 255);
}

TEST(ColourFilters, SwapChannels) {
    Picture p = onePixel(1, 2, 3);
    apply(16, 4, p);
    EXPECT_EQ(p.at(0, 0, 0), 3);
    EXPECT_EQ(p.at(1, 0, 0), 2);
    EXPECT_EQ(p.at(2, 0, 0), 1);
    Picture q = onePixel(1, 2, 3);
    apply(16, 1, q); // G, R, B
    EXPECT_EQ(q.at(0, 0, 0), 2);
    EXPECT_EQ(q.at(1, 0, 0), 3);
    EXPECT_EQ(q.at(2, 0, 0), 1);
    for (int choice : {0, 6}) {
        Picture r = onePixel(1, 2, 3);
        apply(16, choice, r);
        EXPECT_EQ(r.at(0, 0, 0), 1);
        EXPECT_EQ(r.at(2, 0, 0), 3);
    }
}

TEST(ColourFilters, AddNoiseWithoutAmplitudeMovesByZeroOrOne) {
    Picture p = randomPicture(6, 6, 23);
    const auto before = p.tight();
    const auto draws = imaging::UniformDrawCount();
    apply(29, 0, p);
    EXPECT_EQ(imaging::UniformDrawCount() - draws, 6u * 6u * 3u);
    const auto after = p.tight();
    for (std::size_t i = 0; i < after.size(); ++i)
        if (i % 4 != 3) {
            EXPECT_TRUE(after[i] == before[i] || after[i] == std::min(255, before[i] + 1));
        }
}

TEST(NeighbourhoodFilters, BlurCascadesDownAndRight) {
    // One bright pixel in the middle of 5 x 5 black. Blur works in place, so each value is
    // built from the new values above and to the left (worked row by row):
    //   row 2: 255/8 = 31, (31 + 255)/8 = 35, (35 + 255)/8 = 36
    //   row 3: (31 + 35 + 255)/8 = 40, (31 + 35 + 36 + 40)/8 = 17, (35 + 36 + 17)/8 = 11
    //   row 4: (40 + 17)/8 = 7, (40 + 17 + 11 + 7)/8 = 9, (17 + 11 + 9)/8 = 4
    Picture p(5, 5);
    p.fill(0, 0, 0);
    p.set(2, 2, 255, 255, 255);
    apply(3, 0, p);
    expectGrey(p, {{0, 0, 0, 0, 0},
                   {0, 31, 35, 36, 0},
                   {0, 40, 17, 11, 0},
                   {0, 7, 9, 4, 0},
                   {0, 0, 0, 0, 0}});
}

TEST(NeighbourhoodFilters, FlatPicturesThroughTheWindowFilters) {
    for (int code : {1, 3, 5, 6}) {
        Picture p(5, 4);
        p.fill(90, 140, 200);
        const auto before = p.tight();
        apply(code, code == 1 ? 2 : (code == 6 ? 1 : 0), p);
        EXPECT_EQ(p.tight(), before) << code;
    }
    Picture contour(4, 4);
    contour.fill(90, 140, 200);
    apply(7, RgbColour(255, 255, 255), contour);
    EXPECT_EQ(contour.at(0, 1, 1), 255);
    EXPECT_EQ(contour.at(2, 2, 2), 255);
    EXPECT_EQ(contour.at(0, 0, 0), 90); // the border keeps its values
    EXPECT_EQ(contour.at(2, 3, 3), 200);
    for (int c : {0, 255}) {
        Picture relief(3, 3);
        relief.fill(c, c, c);
        apply(13, 0, relief);
        EXPECT_EQ(relief.at(1, 1, 1), c == 255 ? 177 : 50);
    }
    Picture emboss(3, 3);
    emboss.fill(33, 66, 99);
    apply(8, RgbColour(0, 120, 120), emboss);
    EXPECT_EQ(emboss.at(0, 0, 0), 120);
    EXPECT_EQ(emboss.at(1, 1, 1), 120);
    EXPECT_EQ(emboss.at(2, 1, 0), 0);
    EXPECT_EQ(emboss.at(0, 2, 2), 33); // last row and column keep their values
}

TEST(NeighbourhoodFilters, SharpenExtremes) {
    Picture p(3, 3);
    p.fill(0, 0, 0);
    p.set(1, 1, 255, 255, 255); // 26 x 255 \ 10 = 663, clamped
    apply(1, 2, p);
    EXPECT_EQ(p.at(0, 1, 1), 255);
    Picture q(3, 3);
    q.fill(255, 255, 255);
    q.set(1, 1, 0, 0, 0); // -4080 \ 10, clamped
    apply(1, 2, q);
    EXPECT_EQ(q.at(0, 1, 1), 0);
}

TEST(NeighbourhoodFilters, NarrowPicturesAreUnchanged) {
    for (int code : {1, 3, 5, 6, 7, 9, 11, 13, 24, 25, 26, 27})
        for (auto [w, h] : {std::pair{2, 9}, {9, 2}, {1, 1}}) {
            Picture p = randomPicture(w, h, 24);
            const auto before = p.tight();
            apply(code, 1, p);
            EXPECT_EQ(p.tight(), before) << code;
        }
    for (int code : {8, 10})
        for (auto [w, h] : {std::pair{1, 9}, {9, 1}}) {
            Picture p = randomPicture(w, h, 25);
            const auto before = p.tight();
            apply(code, 0, p);
            EXPECT_EQ(p.tight(), before) << code;
        }
}

TEST(MorphologicalFilters, DilateErodeEdgeDetect) {
    Picture p(5, 5);
    p.fill(10, 10, 10);
    p.set(2, 2, 200, 200, 200);
    apply(25, 0, p);
    expectGrey(p, {{10, 10, 10, 10, 10},
                   {10, 200, 200, 200, 10},
                   {10, 200, 200, 200, 10},
                   {10, 200, 200, 200, 10},
                   {10, 10, 10, 10, 10}});
    Picture q(5, 5);
    q.fill(10, 10, 10);
    q.set(2, 2, 200, 200, 200);
    apply(26, 0, q);
    apply(25, 0, q);
    expectGrey(q, std::vector<std::vector<int>>(5, std::vector<int>(5, 10)));
    Picture flat(4, 4);
    flat.fill(60, 70, 80);
    apply(27, 0, flat);
    EXPECT_EQ(flat.at(0, 1, 1), 0);
    EXPECT_EQ(flat.at(2, 2, 2), 0);
    EXPECT_EQ(flat.at(2, 0, 0), 80);
}

TEST(MorphologicalFilters, DiffuseNeverLeavesThePicture) {
    Picture one = onePixel(5, 6, 7);
    apply(4, 6, one);
    EXPECT_EQ(one.at(0, 0, 0), 5);
    EXPECT_EQ(one.at(2, 0, 0), 7);
    Picture p = randomPicture(6, 5, 26);
    const auto before = p.tight();
    const auto draws = imaging::UniformDrawCount();
    apply(4, 0, p);
    EXPECT_EQ(p.tight(), before);
    EXPECT_EQ(imaging::UniformDrawCount() - draws, 6u * 5u * 2u);
}

TEST(MorphologicalFilters, MosaicBlocksAreClippedAtTheEdges) {
    // 3 x 3 in blocks of 2: the right column, the bottom row and the corner are blocks of
    // their own size.
    Picture p(3, 3);
    const int v[3][3] = {{0, 10, 100}, {20, 31, 50}, {7, 8, 255}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            p.set(x, y, v[y][x], v[y][x], v[y][x]);
    apply(15, 2, p);
    expectGrey(p, {{15, 15, 75}, {15, 15, 75}, {7, 7, 255}}); // 61 \ 4, 150 \ 2, 15 \ 2
}

TEST(MorphologicalFilters, OrderedDitherOfBlackAndWhite) {
    Picture black(8, 8);
    black.fill(0, 0, 0);
    apply(20, 0, black);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(black.at(0, x, y), (x % 4 == 0 && y % 4 == 0) ? 255 : 0);
    Picture white(5, 5);
    white.fill(255, 255, 255);
    apply(20, 0, white);
    expectGrey(white, std::vector<std::vector<int>>(5, std::vector<int>(5, 255)));
}

TEST(MorphologicalFilters, StretchLevelsLeavesAFlatChannelAlone) {
    Picture p(3, 1);
    p.set(0, 0, 50, 9, 100);
    p.set(1, 0, 100, 9, 101);
    p.set(2, 0, 75, 9, 100);
    apply(28, 0, p);
    EXPECT_EQ(p.at(0, 0, 0), 0);
    EXPECT_EQ(p.at(0, 1, 0), 255);
    EXPECT_EQ(p.at(0, 2, 0), 128); // 25 x 255 / 50 = 127.5: even
    EXPECT_EQ(p.at(1, 1, 0), 9);   // flat green stays
    EXPECT_EQ(p.at(2, 1, 0), 255);
}

TEST(MorphologicalFilters, ErrorDiffusionAndThresholdGiveBlackAndWhite) {
    Picture p(4, 1);
    p.set(0, 0, 0, 0, 0);
    p.set(1, 0, 90, 90, 90);
    p.set(2, 0, 200, 200, 200);
    p.set(3, 0, 255, 255, 255);
    // Mean (0 + 90 + 200 + 255) \ 4 = 136. Floyd-Steinberg, scale 10:
    // x1: 0 -> black, e 0. x2: 90 -> black, e 90, 90 x 7 \ 16 = 39 to x3.
    // x3: 200 + 39 = 239 -> white, e -16, -16 x 7 \ 16 = -7 to x4. x4: 248 -> white.
    apply(21, 10, p);
    expectGrey(p, {{0, 0, 255, 255}});
    Picture q(3, 1);
    q.set(0, 0, 120, 120, 120);
    q.set(1, 0, 150, 150, 150);
    q.set(2, 0, 133, 133, 133);
    // Mean (120 + 150 + 133) \ 3 = 134. Carry: 120 black, c = 30; 150 + 30 = 180 white,
    // c = -75 \ 4 = -18; 133 - 18 = 115 black.
    apply(19, 0, q);
    expectGrey(q, {{0, 255, 0}});
}

TEST(MorphologicalFilters, KuwaharaTakesTheCalmestQuadrant) {
    // 5 x 5: the upper-left 3 x 3 is all 40 (spread 0); the rest is noisy. The centre
    // becomes 40; with a tie, the lower-numbered region wins.
    Picture p = randomPicture(5, 5, 27);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            p.set(x, y, 40, 40, 40);
    apply(24, 0, p);
    EXPECT_EQ(p.at(0, 2, 2), 40);
    EXPECT_EQ(p.at(2, 2, 2), 40);
    Picture flat(5, 5);
    flat.fill(9, 9, 9);
    apply(24, 0, flat);
    EXPECT_EQ(flat.at(0, 2, 2), 9);
}
