// How a picture fills a print cell, against rectangles worked out by hand.
// The 8x10 cell is 11520 x 14400 twips (4:5), the 5x7 cell 10080 x 7200.
#include "imaging/cell_mapping.h"

#include <gtest/gtest.h>

namespace imaging {
// Readable rectangles in failure messages.
void PrintTo(const Rect& r, std::ostream* os) {
    *os << "(" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << ")";
}
} // namespace imaging

namespace {

using imaging::CellMapping;
using imaging::FillMode;
using imaging::Framing;
using imaging::Rect;

constexpr double kW = 11520, kH = 14400; // 8x10

CellMapping camera8x10(FillMode mode, bool turn, const Framing& framing = {}) {
    return imaging::mapPictureToCell(3000, 2000, kW, kH, mode, turn, framing);
}

TEST(CellMapping, StretchTakesTheWholePictureIntoTheWholeCellUnturned) {
    const CellMapping m = camera8x10(FillMode::Stretch, true);
    EXPECT_EQ(m.source, (Rect{0, 0, 3000, 2000}));
    EXPECT_EQ(m.target, (Rect{0, 0, kW, kH}));
    EXPECT_FALSE(m.quarterTurn);
}

TEST(CellMapping, CropCutsTheCentredWindowOfTheCellsShape) {
    // 4:5 of a picture 2000 high is 1600 wide, centred: x = (3000 - 1600) / 2.
    CellMapping m = camera8x10(FillMode::Crop, false);
    EXPECT_EQ(m.source, (Rect{700, 0, 1600, 2000}));
    EXPECT_EQ(m.target, (Rect{0, 0, kW, kH}));
    EXPECT_FALSE(m.quarterTurn);
    // Turned, the picture is 2000 x 3000: all 2000 across, 2500 down from
    // y = 250, which is x = 250 of the picture as it is stored.
    m = camera8x10(FillMode::Crop, true);
    EXPECT_EQ(m.source, (Rect{250, 0, 2500, 2000}));
    EXPECT_TRUE(m.quarterTurn);
    // A portrait phone picture (3:4) in the landscape 5x7 cell (7:5): turned it
    // is 4032 x 3024, so 2880 of its 3024 rows across, 72 from the edge.
    m = imaging::mapPictureToCell(3024, 4032, 10080, 7200, FillMode::Crop, true);
    EXPECT_EQ(m.source, (Rect{72, 0, 2880, 4032}));
    EXPECT_TRUE(m.quarterTurn);
    // A picture already of the cell's orientation is never turned.
    m = imaging::mapPictureToCell(2000, 3000, kW, kH, FillMode::Crop, true);
    EXPECT_EQ(m.source, (Rect{0, 250, 2000, 2500}));
    EXPECT_FALSE(m.quarterTurn);
}

TEST(CellMapping, FitCentresTheWholePictureInTheCell) {
    // 3000 wide to 11520 twips is 3.84 twips a pixel: 7680 high, 3360 above.
    CellMapping m = camera8x10(FillMode::Fit, false);
    EXPECT_EQ(m.source, (Rect{0, 0, 3000, 2000}));
    EXPECT_EQ(m.target, (Rect{0, 3360, 11520, 7680}));
    // Turned, 3000 high to 14400 is 4.8 a pixel: 9600 wide, 960 each side.
    m = camera8x10(FillMode::Fit, true);
    EXPECT_EQ(m.target, (Rect{960, 0, 9600, 14400}));
    EXPECT_TRUE(m.quarterTurn);
}

TEST(CellMapping, FramingZoomsAndMovesTheWindowButKeepsItInsideThePicture) {
    // Zoom 2: an 800 x 1000 window; asked to centre on a corner it stops there.
    EXPECT_EQ(camera8x10(FillMode::Crop, false, {2, 0, 0}).source, (Rect{0, 0, 800, 1000}));
    EXPECT_EQ(camera8x10(FillMode::Crop, false, {2, 1, 1}).source, (Rect{2200, 1000, 800, 1000}));
    EXPECT_EQ(camera8x10(FillMode::Crop, false, {2, 0.25, 0.5}).source,
              (Rect{350, 500, 800, 1000}));
    // Below 1 there is no larger window of the cell's shape.
    EXPECT_EQ(camera8x10(FillMode::Crop, false, {0.5, 0, 0.5}).source, (Rect{0, 0, 1600, 2000}));
    // Framing belongs to crop mode: fit shows the whole picture anyway.
    EXPECT_EQ(camera8x10(FillMode::Fit, false, {2, 0, 0}).target, (Rect{0, 3360, 11520, 7680}));
}

TEST(CellMapping, DraggingMovesTheWindowAgainstTheHandUpToThePicturesEdge) {
    // Dragged right by a quarter of the cell: the 1600-wide window moves 400
    // to the left, from x = 700 to 300.
    Framing f = imaging::draggedFraming(3000, 2000, kW, kH, false, {}, 0.25, 0);
    EXPECT_EQ(camera8x10(FillMode::Crop, false, f).source, (Rect{300, 0, 1600, 2000}));
    // Far past the left edge it stops there, and a drag back moves it at once.
    f = imaging::draggedFraming(3000, 2000, kW, kH, false, f, 3, 0);
    EXPECT_EQ(camera8x10(FillMode::Crop, false, f).source, (Rect{0, 0, 1600, 2000}));
    f = imaging::draggedFraming(3000, 2000, kW, kH, false, f, -0.25, 0);
    EXPECT_EQ(camera8x10(FillMode::Crop, false, f).source, (Rect{400, 0, 1600, 2000}));
    // Turned, a drag up the cell runs along the picture's width: the 2500-row
    // window moves down the turned picture from 250 to its lowest place, 500,
    // which is x = 500 on the picture as stored.
    f = imaging::draggedFraming(3000, 2000, kW, kH, true, {}, 0, -0.5);
    EXPECT_EQ(camera8x10(FillMode::Crop, true, f).source, (Rect{500, 0, 2500, 2000}));
}

TEST(CellMapping, PixelsPerInchAfterCropping) {
    // 1600 pixels across 8 inches: 200 pixels an inch.
    EXPECT_DOUBLE_EQ(imaging::pixelsPerInch(camera8x10(FillMode::Crop, false), 1440), 200);
    // A 320 x 240 picture in a wallet (2.5 x 3.25), turned: 240 across 2.5 inches.
    EXPECT_DOUBLE_EQ(
        imaging::pixelsPerInch(
            imaging::mapPictureToCell(320, 240, 3600, 4680, FillMode::Crop, true), 1440),
        96);
    // Stretched, the squeezed direction counts: 2000 down 10 inches.
    EXPECT_DOUBLE_EQ(imaging::pixelsPerInch(camera8x10(FillMode::Stretch, false), 1440), 200);
    EXPECT_EQ(imaging::pixelsPerInch(imaging::mapPictureToCell(0, 10, kW, kH, FillMode::Crop, true),
                                     1440),
              0);
}

} // namespace
