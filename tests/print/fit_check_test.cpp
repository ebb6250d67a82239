// Will it fit: the warning names the print, how much is lost and where.
#include "print/fit_check.h"

#include <gtest/gtest.h>

namespace {

constexpr double kMm = 72 / 25.4;

// A4 with 5 mm margins all round: 200 x 287 mm to print on.
const print::Paper kA4{"iso_a4_210x297mm", QSizeF(210 * kMm, 297 * kMm),
                       QMarginsF(5 * kMm, 5 * kMm, 5 * kMm, 5 * kMm)};
// Letter with quarter-inch margins: 8 x 10.5 inches to print on.
const print::Paper kLetter{"na_letter_8.5x11in", QSizeF(612, 792), QMarginsF(18, 18, 18, 18)};

const print::Packages kAll = {&print::kPackages[0], &print::kPackages[1], &print::kPackages[2],
                              &print::kPackages[3], &print::kPackages[4]};

} // namespace

TEST(FitCheck, PackagesWiderThanThePrintableAreaAreNamed) {
    // 8 inches is 203.2 mm; the 4x6 sheet is 11530 twips, 203.4 mm.
    EXPECT_EQ(print::packageFitWarnings(kA4, kAll),
              QStringList({"The 8x10 print is 3 mm wider than this printer can print on A4: its "
                           "right edge will be cut.",
                           "The 4x6 sheet is 3 mm wider than this printer can print on A4: its "
                           "right edge will be cut."}));
    EXPECT_TRUE(print::packageFitWarnings(
                    kA4, {&print::kPackages[1], &print::kPackages[3], &print::kPackages[4]})
                    .isEmpty());
    // The 4x6 sheet crosses quarter-inch margins by 0.2 mm: not worth a word.
    EXPECT_TRUE(print::packageFitWarnings(kLetter, kAll).isEmpty());
}

TEST(FitCheck, SinglePrintOnItsSide) {
    EXPECT_EQ(print::singleFitWarning(kA4, 0, false),
              "The 8x10 print is 3 mm wider than this printer can print on A4: its right edge "
              "will be cut.");
    // On its side the 8 inches run down the 200 mm of the landscape page.
    EXPECT_EQ(print::singleFitWarning(kA4, 0, true),
              "The 8x10 print is 3 mm longer than this printer can print on A4: its bottom edge "
              "will be cut.");
    EXPECT_EQ(print::singleFitWarning(kA4, 1, true), "");
    // Letter with 1-inch margins prints 6.5 x 9 inches: an 8x10 loses on both sides.
    const print::Paper narrow{"na_letter_8.5x11in", QSizeF(612, 792), QMarginsF(72, 72, 72, 72)};
    EXPECT_EQ(print::singleFitWarning(narrow, 0, false),
              "The 8x10 print is 38 mm wider and 25 mm longer than this printer can print on "
              "Letter: its right and bottom edges will be cut.");
}
