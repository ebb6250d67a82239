// Where every cell lands on the paper once the scheduler's filters (pdftopdf,
// which turns landscape pages) have done their work: all five packages and
// every single print, upright and on its side, on a printer whose margins
// differ on all four sides.
#include "cups_fixture.h"
#include "pictures/package_pictures.h"
#include "print/layouts.h"
#include "print/print_routine.h"
#include "print/printer.h"

#include <cstdio>

using namespace testcups;

namespace {

[[maybe_unused]] auto* env = ::testing::AddGlobalTestEnvironment(new Environment);

const QRgb kColours[9] = {qRgb(220, 0, 0),   qRgb(0, 160, 0),   qRgb(0, 0, 220),
                          qRgb(220, 200, 0), qRgb(200, 0, 200), qRgb(0, 190, 200),
                          qRgb(120, 60, 0),  qRgb(0, 0, 90),    qRgb(255, 120, 0)};

QImage solid(QRgb colour) {
    QImage img(60, 80, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

constexpr double kPaperW = 612, kPaperH = 792; // Letter, points

// A cell given in twips from the printable origin of the page as painted,
// in device pixels on the paper as fed. A landscape page lies on the paper
// turned a quarter turn counter-clockwise: its left edge on the paper's
// bottom edge, its top edge on the paper's left edge.
QRectF onPaper(const QRectF& twips, bool landscape) {
    const testsvc::FolderPrinter& p = printer();
    const double px = kDpi / 72.0;
    if (!landscape)
        return QRectF((p.left + twips.x() / 20) * px, (p.top + twips.y() / 20) * px,
                      twips.width() / 20 * px, twips.height() / 20 * px);
    const double x = p.bottom + twips.x() / 20, y = p.left + twips.y() / 20;
    return QRectF(y * px, (kPaperH - x - twips.width() / 20) * px, twips.height() / 20 * px,
                  twips.width() / 20 * px);
}

QRectF printableArea() {
    const testsvc::FolderPrinter& p = printer();
    const double px = kDpi / 72.0;
    return QRectF(p.left * px, p.top * px, (kPaperW - p.left - p.right) * px,
                  (kPaperH - p.top - p.bottom) * px);
}

// Checks one cell and prints its row of the placement table.
void expectCell(const QImage& page, QRgb colour, const QRectF& expected, const char* what) {
    const QRect found = testpdf::findColour(page, colour);
    const QRectF measured(found.left(), found.top(), found.width(), found.height());
    std::printf("%-22s expected %7.1f %7.1f %7.1f %7.1f   measured %5.0f %5.0f %5.0f %5.0f\n", what,
                expected.left(), expected.top(), expected.right(), expected.bottom(),
                measured.left(), measured.top(), measured.right(), measured.bottom());
    EXPECT_TRUE(landsAt(found, expected, 1.0)) << what;
    EXPECT_TRUE(printableArea().contains(expected)) << what << ": the layout fits";
    EXPECT_TRUE(printableArea().adjusted(-0.5, -0.5, 0.5, 0.5).contains(measured)) << what;
}

} // namespace

class Placement : public CupsTest {};

TEST_F(Placement, EveryCellAtThePrintableOriginOnThePaper) {
    auto target = print::defaultPrinter();
    ASSERT_TRUE(target);
    ASSERT_EQ(target->resolution(), kDpi);
    int sheets = 0;
    for (const print::PackageLayout& package : print::kPackages) {
        PackagePictures pictures;
        for (size_t i = 0; i < package.cells.size(); ++i)
            pictures.set(package.cells[i].picture, solid(kColours[i]));
        print::printPackages(*target, {&package}, 1, pictures);
        ++sheets;
    }
    for (size_t size = 0; size < print::kSingleSizes.size(); ++size)
        for (bool horizontal : {false, true}) {
            print::printSingleSheet(*target, solid(kColours[0]), int(size), horizontal);
            ++sheets;
        }
    const QStringList files = jobs(sheets);
    ASSERT_EQ(files.size(), sheets);

    int job = 0;
    for (const print::PackageLayout& package : print::kPackages) {
        const QImage page = testpdf::render(files[job++], kDpi);
        ASSERT_EQ(page.size(), QSize(int(kPaperW * kDpi / 72), int(kPaperH * kDpi / 72)));
        for (size_t i = 0; i < package.cells.size(); ++i) {
            const print::Cell& c = package.cells[i];
            const std::string what =
                std::string(package.caption) + " Image" + std::to_string(c.picture + 1);
            expectCell(page, kColours[i], onPaper(QRectF(c.x, c.y, c.width, c.height), false),
                       what.c_str());
        }
    }
    for (const print::SingleSize& size : print::kSingleSizes)
        for (bool horizontal : {false, true}) {
            const QImage page = testpdf::render(files[job++], kDpi);
            const QRectF twips = horizontal ? QRectF(0, 0, size.height, size.width)
                                            : QRectF(0, 0, size.width, size.height);
            const std::string what =
                std::string(size.caption) + (horizontal ? " Horizontal" : " Vertical");
            expectCell(page, kColours[0], onPaper(twips, horizontal), what.c_str());
        }
}
