// What the scan settings make of a scanner's options, the size wording, the
// per-scanner memory and the save dialog's extension, without a scanner.
#include "acquire/scan_memory.h"
#include "acquire/scan_settings.h"
#include "acquire/scantab.h"
#include "acquire/sharp_size.h"
#include "support/test_pictures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace acquire;

namespace {

NumberConstraint range(double min, double max, double step) {
    NumberConstraint c;
    c.min = min;
    c.max = max;
    c.step = step;
    return c;
}

Capabilities flatbed() {
    Capabilities caps;
    caps.modes = {"Lineart", "Gray", "Color"};
    caps.mode = "Lineart";
    caps.resolution.values = {600, 75, 150, 1200};
    caps.hasArea = true;
    caps.areaX = range(0, 215.9, 0);
    caps.areaY = range(0, 297, 0);
    return caps;
}

} // namespace

TEST(ScanSettings, OptionValuesComeFromTheDevicesListOrRange) {
    NumberConstraint list;
    list.values = {600, 75, 150, 1200};
    EXPECT_EQ(resolutionChoices(list), QVector<double>({75, 150, 600, 1200}));
    EXPECT_EQ(list.nearest(290), 150);

    // A range offers the usual steps inside it, as near as its step allows, with its ends.
    EXPECT_EQ(resolutionChoices(range(60, 700, 10)),
              QVector<double>({60, 80, 100, 150, 200, 300, 400, 600, 700}));
    // Nothing below 50 dpi: too few pixels for a photo.
    EXPECT_EQ(resolutionChoices(range(1, 300, 1)), QVector<double>({50, 75, 100, 150, 200, 300}));
    list.values = {25, 40, 75};
    EXPECT_EQ(resolutionChoices(list), QVector<double>({75}));
    list.values = {25, 40};
    EXPECT_EQ(resolutionChoices(list), QVector<double>({40}));
    EXPECT_DOUBLE_EQ(range(0, 300, 0.5).nearest(12.34), 12.5);
    EXPECT_DOUBLE_EQ(range(0, 300, 0).nearest(12.34), 12.34);
    EXPECT_DOUBLE_EQ(range(0, 300, 1).nearest(400), 300);
    NumberConstraint pixels = range(0, 5100, 0);
    pixels.wholeNumbers = true;
    EXPECT_DOUBLE_EQ(pixels.nearest(590.55), 591);
}

TEST(ScanSettings, StartsAtThePhotoResolutionInColourOnTheWholeGlass) {
    const ScanChoice fresh = fitToDevice({}, flatbed());
    EXPECT_EQ(fresh.resolution, 150); // of 75, 150, 600, 1200 the nearest to 300
    EXPECT_EQ(fresh.mode, "Color");
    EXPECT_EQ(fresh.area, QRectF(0, 0, 215.9, 297));

    const ScanChoice remembered = fitToDevice({600, "Gray", QRectF(10, 20, 50, 30)}, flatbed());
    EXPECT_EQ(remembered.resolution, 600);
    EXPECT_EQ(remembered.mode, "Gray");
    EXPECT_EQ(remembered.area, QRectF(10, 20, 50, 30));

    // What the device no longer offers falls back; an area hanging off the glass is cut.
    const ScanChoice stale = fitToDevice({4800, "Infrared", QRectF(200, 280, 50, 30)}, flatbed());
    EXPECT_EQ(stale.resolution, 150);
    EXPECT_EQ(stale.mode, "Color");
    EXPECT_EQ(stale.area, QRectF(QPointF(200, 280), QPointF(215.9, 297)));
}

TEST(ScanSettings, PixelUnitsCountAtTheScanResolution) {
    EXPECT_DOUBLE_EQ(toAreaUnits(50.8, AreaUnit::Pixel, 300), 600);
    EXPECT_DOUBLE_EQ(fromAreaUnits(600, AreaUnit::Pixel, 300), 50.8);
    EXPECT_DOUBLE_EQ(toAreaUnits(50.8, AreaUnit::Millimetre, 300), 50.8);
    Capabilities caps = flatbed();
    caps.areaUnit = AreaUnit::Pixel;
    caps.areaX = range(0, 2550, 1); // 8.5 inches at 300 dpi
    caps.areaY = range(0, 3300, 1);
    EXPECT_EQ(caps.glass(300), QRectF(0, 0, 215.9, 279.4));
}

TEST(SharpSize, NamesTheLargestPrintSharpAt150Ppi) {
    // A 4x6 at 150 pixels an inch takes 600 x 900, either way round.
    EXPECT_EQ(sharpSizeText({944, 625}), "944 × 625 pixels: sharp up to 4x6 (156 ppi)");
    EXPECT_EQ(sharpSizeText({600, 900}), "600 × 900 pixels: sharp up to 4x6 (150 ppi)");
    // 3.5 x 5 inches: 600 / 3.5 = 171 an inch across.
    EXPECT_EQ(sharpSizeText({899, 600}), "899 × 600 pixels: sharp up to 3.5x5 (171 ppi)");
    EXPECT_EQ(sharpSizeText({1200, 1500}), "1200 × 1500 pixels: sharp up to 8x10 (150 ppi)");
    // A wallet, 2.5 x 3.25 inches, takes 375 across.
    EXPECT_EQ(sharpSizeText({374, 488}),
              "374 × 488 pixels: too few for a sharp 2.5x3.25 (149 ppi)");
}

TEST(ScanMemory, EachScannerHasItsOwnSectionAndTheMainOneStays) {
    QTemporaryDir dir;
    const QString file = dir.filePath("parvello.ini");
    const QByteArray main = "[MAIN]\nDrive=/\nDir=/home\nTab=5\n8x10=1\n5x7=0\n4x6=0\n3.5x5=0\n"
                            "2.5x3.25=0\nCopies=2\n";
    testpictures::writeBytes(file, main);
    ASSERT_TRUE(ScanMemory(file).remember("test:0", {600, "Gray", QRectF(10.5, 5, 50, 30)}));
    ASSERT_TRUE(ScanMemory(file).remember("test:1", {75, "Color", QRectF(0, 0, 40, 30)}));

    const ScanMemory later(file); // as after a restart
    const ScanChoice first = later.recall("test:0");
    EXPECT_EQ(first.resolution, 600);
    EXPECT_EQ(first.mode, "Gray");
    EXPECT_EQ(first.area, QRectF(10.5, 5, 50, 30));
    EXPECT_EQ(later.recall("test:1").resolution, 75);
    EXPECT_EQ(later.recall("test:9").resolution, 0);
    EXPECT_TRUE(testpictures::fileBytes(file).startsWith(main));
}

TEST(SaveName, ANameWithoutExtensionGetsTheChosenTypes) {
    EXPECT_EQ(withTypeExtension("/p/scan1", "BMP (*.BMP)"), "/p/scan1.bmp");
    EXPECT_EQ(withTypeExtension("/p/scan1.", "PNG (*.PNG)"), "/p/scan1.png");
    EXPECT_EQ(withTypeExtension("/my.scans/scan1", "JPG (*.JPG)"), "/my.scans/scan1.jpg");
    EXPECT_EQ(withTypeExtension("/p/scan1.png", "BMP (*.BMP)"), "/p/scan1.png");
}
