// Pictures are brought to the cell's device pixels by averaging, so a fine
// pattern becomes its mean colour rather than a random pick of its pixels.
#include "print/printer.h"

#include <QImage>
#include <gtest/gtest.h>

using print::resampleToCell;

TEST(Resample, SizeIsTheCellInDevicePixels) {
    QImage pic(640, 480, QImage::Format_RGB32);
    pic.fill(Qt::red);
    // 2.5 x 3.25 inches at 600 dpi.
    EXPECT_EQ(resampleToCell(pic, QSizeF(3600, 4680), 600).size(), QSize(1500, 1950));
    // 8 x 10 at 150 dpi: 1200 x 1500, stretched, never cropped.
    const QImage out = resampleToCell(pic, QSizeF(11520, 14400), 150);
    EXPECT_EQ(out.size(), QSize(1200, 1500));
    EXPECT_EQ(out.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(out.pixel(1199, 1499), qRgb(255, 0, 0));
    EXPECT_TRUE(resampleToCell(QImage(), QSizeF(3600, 4680), 600).isNull());
}

TEST(Resample, AveragesInsteadOfPickingPixels) {
    // A one-pixel checkerboard of black and white, reduced tenfold.
    QImage pic(1000, 1000, QImage::Format_RGB32);
    for (int y = 0; y < 1000; ++y)
        for (int x = 0; x < 1000; ++x)
            pic.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const QImage out = resampleToCell(pic, QSizeF(1440, 1440), 100);
    ASSERT_EQ(out.size(), QSize(100, 100));
    for (int y = 0; y < 100; y += 7)
        for (int x = 0; x < 100; x += 7)
            EXPECT_NEAR(qGray(out.pixel(x, y)), 128, 12) << x << "," << y;
}

TEST(Resample, StripesKeepTheirShareOfEachColour) {
    // Three columns of red to one of blue: each device pixel is 3/4 red.
    QImage pic(800, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 800; ++x)
            pic.setPixel(x, y, x % 4 == 3 ? qRgb(0, 0, 255) : qRgb(255, 0, 0));
    const QImage out = resampleToCell(pic, QSizeF(1440, 360), 200); // 200 x 50
    ASSERT_EQ(out.size(), QSize(200, 50));
    for (int x = 5; x < 195; x += 17) {
        EXPECT_NEAR(qRed(out.pixel(x, 25)), 191, 12);
        EXPECT_NEAR(qBlue(out.pixel(x, 25)), 64, 12);
    }
}
