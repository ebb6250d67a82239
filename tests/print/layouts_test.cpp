// The package table and the single sizes drawn from it against the prints
// they stand for: inches x 1440, 5-twip cut lines, everything on Letter.
#include "print/layouts.h"

#include <gtest/gtest.h>
#include <set>

using namespace print;

namespace {
constexpr int inch(double v) {
    return int(v * 1440);
}
} // namespace

TEST(PackageTable, FixedOrderCaptionsBoxesAndTabs) {
    const char* captions[] = {"8x10", "5x7", "4x6", "3.5x5", "2.5x3.25"};
    const size_t counts[] = {1, 2, 3, 4, 9};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(kPackages[size_t(i)].caption, captions[i]);
        EXPECT_EQ(kPackages[size_t(i)].checkIndex, i);
        EXPECT_EQ(kPackages[size_t(i)].tab, i);
        EXPECT_EQ(kPackages[size_t(i)].cells.size(), counts[i]);
        EXPECT_EQ(packageByCaption(captions[i]), &kPackages[size_t(i)]);
    }
    EXPECT_EQ(packageByCaption("6x9"), nullptr);
}

TEST(PackageTable, EveryPreviewImageHasOneCellInOrder) {
    int expected = 0;
    for (const PackageLayout& p : kPackages)
        for (const Cell& c : p.cells)
            EXPECT_EQ(c.picture, expected++);
    EXPECT_EQ(expected, 19);
}

TEST(PackageTable, CellSizesAreThePrintSizes) {
    auto cell = [](int package, int i) { return kPackages[size_t(package)].cells[size_t(i)]; };
    EXPECT_EQ(cell(0, 0).width, inch(8));
    EXPECT_EQ(cell(0, 0).height, inch(10));
    for (int i = 0; i < 2; ++i) { // 5x7 lies on its side: 7 across, 5 down
        EXPECT_EQ(cell(1, i).width, inch(7));
        EXPECT_EQ(cell(1, i).height, inch(5));
    }
    EXPECT_EQ(cell(2, 0).width, inch(6));
    EXPECT_EQ(cell(2, 0).height, inch(4));
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(cell(2, i).width, inch(4));
        EXPECT_EQ(cell(2, i).height, inch(6));
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(cell(3, i).width, inch(3.5));
        EXPECT_EQ(cell(3, i).height, inch(5));
    }
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(cell(4, i).width, inch(2.5));
        EXPECT_EQ(cell(4, i).height, inch(3.25));
    }
}

TEST(PackageTable, CellsAreFiveTwipsApartFromTheOrigin) {
    // Wallets: three rows of three, row by row.
    const auto& w = kPackages[4].cells;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            EXPECT_FLOAT_EQ(w[size_t(r * 3 + c)].x, c * (3600 + 5));
            EXPECT_FLOAT_EQ(w[size_t(r * 3 + c)].y, r * (4680 + 5));
        }
    const auto& q = kPackages[3].cells;
    EXPECT_FLOAT_EQ(q[1].x, 5040 + 5);
    EXPECT_FLOAT_EQ(q[2].y, 7200 + 5);
    EXPECT_FLOAT_EQ(q[3].x, 5045);
    EXPECT_FLOAT_EQ(q[3].y, 7205);
    EXPECT_FLOAT_EQ(kPackages[1].cells[1].y, 7200 + 5);
    // 4x6: below the landscape print, and the right one 10 twips along.
    const auto& s = kPackages[2].cells;
    EXPECT_FLOAT_EQ(s[1].x, 0);
    EXPECT_FLOAT_EQ(s[1].y, 5760 + 5);
    EXPECT_FLOAT_EQ(s[2].x, 5760 + 10);
    EXPECT_FLOAT_EQ(s[2].y, 5765);
    for (const PackageLayout& p : kPackages) {
        EXPECT_FLOAT_EQ(p.cells[0].x, 0) << p.caption;
        EXPECT_FLOAT_EQ(p.cells[0].y, 0) << p.caption;
    }
}

TEST(PackageTable, NoOverlapAndEverySheetFitsLetter) {
    const double used[5][2] = {
        {11520, 14400}, {10080, 14405}, {11530, 14405}, {10085, 14405}, {10810, 14050}};
    for (size_t p = 0; p < kPackages.size(); ++p) {
        double right = 0, bottom = 0;
        const auto& cells = kPackages[p].cells;
        for (size_t i = 0; i < cells.size(); ++i) {
            right = std::max(right, double(cells[i].x) + cells[i].width);
            bottom = std::max(bottom, double(cells[i].y) + cells[i].height);
            for (size_t j = 0; j < i; ++j) {
                const bool apart = cells[i].x >= cells[j].x + cells[j].width ||
                                   cells[j].x >= cells[i].x + cells[i].width ||
                                   cells[i].y >= cells[j].y + cells[j].height ||
                                   cells[j].y >= cells[i].y + cells[i].height;
                EXPECT_TRUE(apart) << kPackages[p].caption << " " << i << "/" << j;
            }
        }
        EXPECT_DOUBLE_EQ(right, used[p][0]) << kPackages[p].caption;
        EXPECT_DOUBLE_EQ(bottom, used[p][1]) << kPackages[p].caption;
        EXPECT_LE(right, inch(8.5));
        EXPECT_LE(bottom, inch(11));
    }
}

TEST(SingleSizes, UprightSizesInInches) {
    const double sizes[5][2] = {{8, 10}, {5, 7}, {4, 6}, {3.5, 5}, {2.5, 3.25}};
    const char* captions[] = {"8x10", "5x7", "4x6", "3.5x5", "2.5x3.25"};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(kSingleSizes[i].caption, captions[i]);
        EXPECT_EQ(kSingleSizes[i].width, inch(sizes[i][0]));
        EXPECT_EQ(kSingleSizes[i].height, inch(sizes[i][1]));
        EXPECT_EQ(singleSizeByCaption(captions[i]), &kSingleSizes[i]);
    }
    EXPECT_EQ(singleSizeByCaption("8X10"), nullptr);
}

TEST(SingleSizes, CellUprightOrTurnedForALandscapePage) {
    EXPECT_EQ(singleCell(2, false), QRectF(0, 0, 5760, 8640)); // 4 x 6 inches
    EXPECT_EQ(singleCell(2, true), QRectF(0, 0, 8640, 5760));
}
