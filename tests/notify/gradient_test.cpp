// The gradient painter, checked pixel by pixel against the geometry worked
// out by hand: one-pixel lines across the sweep, colours in even steps
// with the difference divided by the number of lines.
#include "notify/gradient.h"

#include <QImage>
#include <cmath>
#include <gtest/gtest.h>

using notify::msnpopupGradient;
using notify::RGB;

namespace {

int red(notify::ColorValue c) {
    return int(c & 0xFF);
}
int green(notify::ColorValue c) {
    return int((c >> 8) & 0xFF);
}
int blue(notify::ColorValue c) {
    return int((c >> 16) & 0xFF);
}

// Colour of line k when there are `steps` lines from c1 to c2.
int channelAt(int c1, int c2, int k, int steps) {
    if (k == 0)
        return c1;
    if (k == steps - 1)
        return c2;
    return int(std::nearbyint(c1 + k * double(c2 - c1) / steps));
}

QImage surface(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(1, 2, 3));
    return img;
}

void expectNear(QRgb got, int r, int g, int b, const char* where) {
    EXPECT_NEAR(qRed(got), r, 1) << where;
    EXPECT_NEAR(qGreen(got), g, 1) << where;
    EXPECT_NEAR(qBlue(got), b, 1) << where;
}

} // namespace

TEST(GradientProperties, AngleIsKeptBetweenZeroAnd360) {
    msnpopupGradient g;
    EXPECT_FLOAT_EQ(g.Angle(), 315.0f);
    g.setAngle(-100);
    EXPECT_FLOAT_EQ(g.Angle(), 260.0f);
    g.setAngle(360);
    EXPECT_FLOAT_EQ(g.Angle(), 0.0f);
    g.setAngle(725);
    EXPECT_FLOAT_EQ(g.Angle(), 5.0f);
}

TEST(GradientProperties, DefaultColoursAndSystemColours) {
    msnpopupGradient g;
    EXPECT_EQ(g.Color1(), RGB(208, 255, 255));
    EXPECT_EQ(g.Color2(), RGB(0, 0, 64));
    g.setColor1(RGB(1, 2, 3));
    EXPECT_EQ(g.Color1(), 0x030201u);
    // Index 25 and above is not a system colour: kept as given.
    g.setColor2(0x80000019u);
    EXPECT_EQ(g.Color2(), 0x80000019u);
    // A system colour index is resolved to a plain colour (top byte 0).
    g.setColor2(0x80000005u);
    EXPECT_EQ(g.Color2() & 0xFF000000u, 0u);
}

TEST(GradientBlend, FewerThanTwoStepsGivesTheTwoColours) {
    std::vector<notify::ColorValue> out;
    EXPECT_EQ(msnpopupGradient::BlendColors(RGB(10, 20, 30), RGB(200, 100, 50), 0, out), 2);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], RGB(10, 20, 30));
    EXPECT_EQ(out[1], RGB(200, 100, 50));
    EXPECT_EQ(msnpopupGradient::BlendColors(RGB(10, 20, 30), RGB(200, 100, 50), 1, out), 2);
    EXPECT_EQ(out.size(), 2u);
}

TEST(GradientBlend, DividesByTheNumberOfSteps) {
    std::vector<notify::ColorValue> out;
    EXPECT_EQ(msnpopupGradient::BlendColors(RGB(0, 0, 0), RGB(100, 0, 0), 4, out), 4);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(red(out[0]), 0);
    EXPECT_EQ(red(out[1]), 25);
    EXPECT_EQ(red(out[2]), 50);
    EXPECT_EQ(red(out[3]), 100);
    // Halves go to the even neighbour: 0 -> 5 in 4 steps is 1.25, 2.5, 5.
    msnpopupGradient::BlendColors(RGB(0, 0, 0), RGB(0, 5, 0), 4, out);
    EXPECT_EQ(green(out[1]), 1);
    EXPECT_EQ(green(out[2]), 2);
    // Falling channels work the same way.
    msnpopupGradient::BlendColors(RGB(0, 0, 200), RGB(0, 0, 0), 5, out);
    EXPECT_EQ(blue(out[1]), 160);
    EXPECT_EQ(blue(out[3]), 80);
}

TEST(GradientDraw, TooSmallAreasAreNotDrawn) {
    msnpopupGradient g;
    QImage thin = surface(1, 50);
    EXPECT_FALSE(g.Draw(thin));
    EXPECT_EQ(thin.pixel(0, 10), qRgb(1, 2, 3));
    QImage flat = surface(50, 1);
    EXPECT_FALSE(g.Draw(flat));
    QImage tiny = surface(2, 2);
    EXPECT_TRUE(g.Draw(tiny));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_NE(tiny.pixel(x, y), qRgb(1, 2, 3));
}

// At 0 the lines are vertical, line k at x = k, W + 2 lines in all.
TEST(GradientDraw, ZeroDegreesRunsLeftToRight) {
    const int W = 40, H = 30;
    msnpopupGradient g;
    g.setAngle(0);
    g.setColor1(RGB(0, 100, 250));
    g.setColor2(RGB(200, 0, 50));
    QImage img = surface(W, H);
    ASSERT_TRUE(g.Draw(img));
    for (int x = 0; x < W; ++x)
        for (int y : {0, H / 2, H - 1})
            expectNear(img.pixel(x, y), channelAt(0, 200, x, W + 2), channelAt(100, 0, x, W + 2),
                       channelAt(250, 50, x, W + 2), "angle 0");
    EXPECT_EQ(img.pixel(0, 5), qRgb(0, 100, 250)); // the first line is Color1
}

// At 90 the lines are horizontal and start just below the bottom edge:
// row y lies on line H - y.
TEST(GradientDraw, NinetyDegreesRunsBottomToTop) {
    const int W = 30, H = 40;
    msnpopupGradient g;
    g.setAngle(90);
    g.setColor1(RGB(255, 255, 255));
    g.setColor2(RGB(0, 0, 0));
    QImage img = surface(W, H);
    ASSERT_TRUE(g.Draw(img));
    for (int y = 0; y < H; ++y) {
        const int v = channelAt(255, 0, H - y, H + 2);
        for (int x : {0, W / 2, W - 1})
            expectNear(img.pixel(x, y), v, v, v, "angle 90");
    }
}

// At 180 the lines are vertical and start just right of the right edge.
TEST(GradientDraw, OneEightyRunsRightToLeft) {
    const int W = 40, H = 20;
    msnpopupGradient g;
    g.setAngle(180);
    g.setColor1(RGB(0, 0, 0));
    g.setColor2(RGB(0, 210, 0));
    QImage img = surface(W, H);
    ASSERT_TRUE(g.Draw(img));
    for (int x = 0; x < W; ++x)
        for (int y : {0, H - 1})
            expectNear(img.pixel(x, y), 0, channelAt(0, 210, W - x, W + 2), 0, "angle 180");
}

// At 270 the lines are horizontal from the top edge: row y is line y.
TEST(GradientDraw, TwoSeventyRunsTopToBottom) {
    const int W = 25, H = 50;
    msnpopupGradient g;
    g.setAngle(270);
    g.setColor1(RGB(61, 149, 255));
    g.setColor2(RGB(255, 255, 255));
    QImage img = surface(W, H);
    ASSERT_TRUE(g.Draw(img));
    for (int y = 0; y < H; ++y)
        for (int x : {0, W / 2, W - 1})
            expectNear(img.pixel(x, y), channelAt(61, 255, y, H + 2), channelAt(149, 255, y, H + 2),
                       255, "angle 270");
    EXPECT_EQ(img.pixel(3, 0), qRgb(61, 149, 255));
}

// The popup's own background: -100 degrees (260), blue on top, white below,
// the lines tilted 10 degrees and descending to the right.
TEST(GradientDraw, PopupAngleTiltsTheLinesTenDegrees) {
    const int W = 137, H = 97;
    msnpopupGradient g;
    g.setAngle(-100);
    g.setColor1(RGB(61, 149, 255));
    g.setColor2(RGB(255, 255, 255));
    QImage img = surface(W, H);
    ASSERT_TRUE(g.Draw(img));

    // The sweep line through the centre, half-length L, turned by 350
    // degrees, then moved up until its lower end touches the top edge.
    const double cx = W / 2, cy = H / 2;
    const double L = (std::sqrt(2.0 * W * W) + 2) / 2;
    const double t = 350 * M_PI / 180;
    const double x0 = cx - L * std::cos(t), y0 = cy + L * std::sin(t);
    const double x1 = cx + L * std::cos(t), y1 = cy - L * std::sin(t);
    const double shift = -std::max(y0, y1);
    const double ya = std::nearbyint(y0 + shift), yb = std::nearbyint(y1 + shift);
    const double xa = std::nearbyint(x0), xb = std::nearbyint(x1);
    // Lines run until the upper end has passed the bottom edge.
    const int lines = int(H - std::min(ya, yb)) + 2;
    for (int y = 0; y < H; y += 8)
        for (int x = 0; x < W; x += 8) {
            const double onLine = ya + (x - xa) * (yb - ya) / (xb - xa);
            const int k = int(std::lround(y - onLine));
            const QRgb p = img.pixel(x, y);
            EXPECT_NEAR(qRed(p), channelAt(61, 255, k, lines), 4) << x << "," << y;
            EXPECT_NEAR(qGreen(p), channelAt(149, 255, k, lines), 3) << x << "," << y;
            EXPECT_EQ(qBlue(p), 255);
        }
    // Blue at the top, nearly white at the bottom.
    EXPECT_LT(qRed(img.pixel(W - 1, 0)), 80);
    EXPECT_GT(qRed(img.pixel(0, H - 1)), 220);
    // Descending to the right: along a row the colour gets bluer.
    EXPECT_LT(qRed(img.pixel(W - 1, 0)) + 20, qRed(img.pixel(0, 0)));
    EXPECT_LT(qRed(img.pixel(W - 1, H / 2)) + 20, qRed(img.pixel(0, H / 2)));
}
