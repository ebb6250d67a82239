// Which prints look soft: fewer than 150 pixels an inch after cropping.
#include "pictures/package_pictures.h"
#include "print/soft_prints.h"

#include <gtest/gtest.h>

namespace {

using imaging::FillMode;

const print::CellOptions kStretch{FillMode::Stretch, true, {}};
const print::CellOptions kCrop{FillMode::Crop, true, {}};

TEST(SoftPrints, BelowOneHundredAndFiftyPixelsAnInch) {
    // A wallet is 2.5 x 3.25 inches: 375 x 488 pixels give it 150 an inch.
    const QSizeF wallet(3600, 4680);
    EXPECT_FALSE(print::looksSoft(QSize(375, 488), wallet, kStretch));
    EXPECT_TRUE(print::looksSoft(QSize(374, 488), wallet, kStretch));
    EXPECT_TRUE(print::looksSoft(QSize(375, 487), wallet, kStretch));
    // After cropping: 2000 x 1400 stretched over an 8x10 has 140 an inch
    // down; turned and cropped, 1400 across 8 inches is 175.
    const QSizeF eightByTen(11520, 14400);
    EXPECT_TRUE(print::looksSoft(QSize(2000, 1400), eightByTen, kStretch));
    EXPECT_FALSE(print::looksSoft(QSize(2000, 1400), eightByTen, kCrop));
    // 1280 x 1600 is 160 an inch; zoomed in 1.2 times, 1066 across 8 inches.
    EXPECT_FALSE(print::looksSoft(QSize(1280, 1600), eightByTen, kCrop));
    EXPECT_TRUE(print::looksSoft(QSize(1280, 1600), eightByTen, {FillMode::Crop, true, {1.2}}));
    EXPECT_FALSE(print::looksSoft(QSize(), wallet, kCrop)) << "no picture, nothing to warn of";
}

TEST(SoftPrints, TheQuestionNamesThePrintsAndTheirPicture) {
    // Two wallet positions hold a small picture, the rest a good one.
    PackagePictures pictures;
    for (int i = 0; i < positions::kCount; ++i)
        pictures.set(i, i == 11 || i == 14 ? QImage(320, 240, QImage::Format_RGB32)
                                           : QImage(1200, 1600, QImage::Format_RGB32));
    const print::PrintOptions crop{FillMode::Crop, true, false};
    EXPECT_EQ(print::softPackageWarnings({&print::kPackages[4]}, pictures, crop),
              QStringList{"2 wallet prints will look soft: their picture is 320 × 240 pixels."});
    EXPECT_TRUE(print::softPackageWarnings({&print::kPackages[0]}, pictures, crop).isEmpty());
    EXPECT_EQ(print::softSingleWarning(QSize(320, 240), 1, true, kCrop),
              "1 5x7 print will look soft: its picture is 320 × 240 pixels.");
    EXPECT_TRUE(print::softSingleWarning(QSize(1200, 1600), 4, false, kCrop).isEmpty());
}

} // namespace
