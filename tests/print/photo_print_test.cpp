// What the scheduler receives in crop and fit modes: each printed cell shows
// the region of the picture worked out by hand, and cut guides stay off the
// cells. Read back through the real filter chain and rendered with pdftoppm.
#include "cups_fixture.h"
#include "pictures/package_pictures.h"
#include "print/layouts.h"
#include "print/print_routine.h"
#include "print/printer.h"

#include <QPainter>
#include <QTransform>

using namespace testcups;
using imaging::FillMode;

namespace {

[[maybe_unused]] auto* env = ::testing::AddGlobalTestEnvironment(new Environment);

// Red grows to the right, green downwards: a window taken from the wrong
// place, or turned the wrong way, shows in every pixel.
QImage gradient(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(255 * x / w, 255 * y / h, 120));
    return img;
}

// Both sides brought down to a few pixels. A window a tenth of the picture
// off shifts the gradient by 25 levels; the tolerance covers the JPEG inside
// the PDF and a rendered edge falling between pixels.
constexpr QSize kCompared(24, 30);
constexpr int kTolerance = 16;

// The largest difference of any channel between two pictures brought down
// to the same few pixels.
int difference(const QImage& a, const QImage& b) {
    const QImage x = a.scaled(kCompared, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGB32);
    const QImage y = b.scaled(kCompared, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGB32);
    int worst = 0;
    for (int j = 0; j < kCompared.height(); ++j)
        for (int i = 0; i < kCompared.width(); ++i) {
            const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

QImage cellOf(const QImage& page, const QRectF& twips) {
    return page.copy(expectedPixels(twips, kDpi).toRect());
}

bool white(QRgb p) {
    return qRed(p) > 235 && qGreen(p) > 235 && qBlue(p) > 235;
}

} // namespace

class PhotoPrint : public CupsTest {};

TEST_F(PhotoPrint, PrintedCellsShowTheCropWorkedOutByHand) {
    auto target = print::defaultPrinter();
    ASSERT_TRUE(target);
    const QImage photo = gradient(3000, 2000);
    PackagePictures pictures;
    pictures.set(0, photo);
    print::PrintOptions options{FillMode::Crop, false, false};
    print::printPackages(*target, {&print::kPackages[0]}, 1, pictures, options);
    options.turnToFit = true;
    print::printSingleSheet(*target, photo, 0, false, options);
    options.fill = FillMode::Fit;
    options.turnToFit = false;
    print::printSingleSheet(*target, photo, 1, false, options);
    // Framed: zoomed in twice and moved to the top left corner.
    pictures.setFraming(0, {2, 0, 0});
    print::printPackages(*target, {&print::kPackages[0]}, 1, pictures,
                         {FillMode::Crop, false, false});
    const QStringList files = jobs(4);
    ASSERT_EQ(files.size(), 4);

    // Crop, 8x10: the 1600 x 2000 window at x = 700.
    const QRectF eightByTen(0, 0, 11520, 14400);
    EXPECT_LE(difference(cellOf(testpdf::render(files[0], kDpi), eightByTen),
                         photo.copy(700, 0, 1600, 2000)),
              kTolerance);
    // Turned a quarter turn clockwise: 2500 x 2000 from x = 250, standing up.
    EXPECT_LE(difference(cellOf(testpdf::render(files[1], kDpi), eightByTen),
                         photo.copy(250, 0, 2500, 2000).transformed(QTransform().rotate(90))),
              kTolerance);
    // Fit, upright 5x7 (5 x 7 in): the whole picture 5 x 3 1/3 in, centred,
    // white above and below.
    QImage fitted(500, 700, QImage::Format_RGB32);
    fitted.fill(Qt::white);
    QPainter(&fitted).drawImage(QRect(0, 183, 500, 333), photo);
    EXPECT_LE(
        difference(cellOf(testpdf::render(files[2], kDpi), QRectF(0, 0, 7200, 10080)), fitted),
        kTolerance);
    // The framed 8x10: the 800 x 1000 window in the picture's corner.
    EXPECT_LE(difference(cellOf(testpdf::render(files[3], kDpi), eightByTen),
                         photo.copy(0, 0, 800, 1000)),
              kTolerance);
}

TEST_F(PhotoPrint, CutGuidesLieBesideTheCellsNeverOnThem) {
    auto target = print::defaultPrinter();
    ASSERT_TRUE(target);
    // Blank cells: any mark on a cell shows as ink where there is no picture.
    print::printPackages(*target, {&print::kPackages[4]}, 1, PackagePictures(),
                         {FillMode::Crop, true, true});
    const QStringList files = jobs(1);
    ASSERT_EQ(files.size(), 1);
    const QImage page = testpdf::render(files[0], kDpi).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());

    const print::PackageLayout& wallets = print::kPackages[4];
    for (const print::Cell& c : wallets.cells) {
        // One rendered pixel round each cell is still the cell.
        const QRect cell = expectedPixels(QRectF(c.x, c.y, c.width, c.height), kDpi)
                               .toAlignedRect()
                               .adjusted(-1, -1, 1, 1);
        int ink = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                ink += white(page.pixel(x, y)) ? 0 : 1;
        EXPECT_EQ(ink, 0) << "Image" << c.picture + 1;
    }
    // Guides carry the cut between the first two rows out to the right, and
    // the cut between the first two columns down below the sheet.
    auto inkNear = [&](double xTwips, double yTwips) {
        const QPointF at = expectedPixels(QRectF(xTwips, yTwips, 0, 0), kDpi).topLeft();
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (!white(page.pixel(int(at.x()) + dx, int(at.y()) + dy)))
                    return true;
        return false;
    };
    EXPECT_TRUE(inkNear(10810 + 200, 4682));
    EXPECT_TRUE(inkNear(3602, 14050 + 200));
    EXPECT_FALSE(inkNear(10810 + 200, 2340)) << "beside a cell's middle: no guide";
}
