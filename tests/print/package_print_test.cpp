// Package sheets printed for real through a private CUPS scheduler and read
// back from the jobs it received.
#include "cups_fixture.h"
#include "job_wait.h"
#include "print/layouts.h"
#include "print/print_routine.h"
#include "print/printer.h"
#include "print/printer_choice.h"
#include "print/sheet_orders.h"
#include "support/fake_prompt.h"
#include "support/pictures_from.h"

#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

using namespace testcups;

namespace {

[[maybe_unused]] auto* env = ::testing::AddGlobalTestEnvironment(new Environment);

// Plain colours far apart from each other and from white.
const QRgb kColours[9] = {qRgb(220, 0, 0),   qRgb(0, 160, 0),   qRgb(0, 0, 220),
                          qRgb(220, 200, 0), qRgb(200, 0, 200), qRgb(0, 190, 200),
                          qRgb(120, 60, 0),  qRgb(0, 0, 90),    qRgb(255, 120, 0)};

QImage solid(QRgb colour, int w = 320, int h = 240) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

// Image n of a package holds colour n - first.
std::function<QImage(int)> coloured(int first) {
    return [first](int n) {
        return n >= first && n < first + 9 ? solid(kColours[n - first]) : QImage();
    };
}

bool whitePage(const QImage& page) {
    const QImage rgb = page.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); y += 2)
        for (int x = 0; x < rgb.width(); x += 2)
            if (qGray(rgb.pixel(x, y)) < 245)
                return false;
    return true;
}

} // namespace

class PackagePrint : public CupsTest {
  protected:
    QWidget main;
    FakePrompt prompt;
};

TEST_F(PackagePrint, WalletSheetPutsEachPictureInItsCell) {
    auto target = print::defaultPrinter();
    ASSERT_TRUE(target);
    EXPECT_EQ(target->resolution(), kDpi);
    const auto summary =
        print::printPackages(*target, {&print::kPackages[4]}, 1, *picturesFrom(coloured(11)));
    EXPECT_EQ(summary.sheets, 1);
    EXPECT_EQ(summary.failed, 0);
    const QStringList files = jobs(1);
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(testpdf::pageCount(files[0]), 1);
    EXPECT_EQ(testpdf::pageSize(files[0]), QSizeF(612, 792)); // Letter, portrait
    // Each cell carries its picture at the printer's resolution, no more.
    const auto images = testpdf::embeddedImages(files[0]);
    ASSERT_EQ(images.size(), 9u);
    for (const QSize& s : images)
        EXPECT_EQ(s, QSize(375, 488)); // 2.5 x 3.25 in at 150 dpi
    // The pictures are declared sRGB, through an sRGB output intent.
    QFile pdf(files[0]);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.contains("/OutputIntents") && bytes.contains("(sRGB_IEC61966"));
    // Rendered at twice the printer's resolution: within one printer pixel
    // is within two of these.
    const QImage page = testpdf::render(files[0], 2 * kDpi);
    ASSERT_FALSE(page.isNull());
    for (int i = 0; i < 9; ++i) {
        const QRectF twips((i % 3) * 3605, (i / 3) * 4685, 3600, 4680);
        EXPECT_TRUE(
            landsAt(testpdf::findColour(page, kColours[i]), expectedPixels(twips, 2 * kDpi), 2.0))
            << "Image" << 11 + i;
    }
}

TEST_F(PackagePrint, TickedPackagesInFixedOrderOneJobPerCopy) {
    auto target = print::defaultPrinter();
    ASSERT_TRUE(target);
    // Image1 red (8x10); the wallets in their colours.
    auto preview = [](int n) { return n == 1 ? solid(kColours[0]) : coloured(11)(n); };
    const auto summary = print::printPackages(*target, {&print::kPackages[0], &print::kPackages[4]},
                                              2, *picturesFrom(preview));
    EXPECT_EQ(summary.sheets, 4);
    const QStringList files = jobs(4);
    ASSERT_EQ(files.size(), 4);
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(testpdf::pageCount(files[j]), 1);
        const QImage page = testpdf::render(files[j], 50);
        const bool eightByTen = j < 2;
        EXPECT_EQ(testpdf::embeddedImages(files[j]).size(), eightByTen ? 1u : 9u) << j;
        if (eightByTen)
            EXPECT_TRUE(landsAt(testpdf::findColour(page, kColours[0]),
                                expectedPixels(QRectF(0, 0, 11520, 14400), 50)));
        else
            EXPECT_TRUE(landsAt(testpdf::findColour(page, kColours[8]),
                                expectedPixels(QRectF(7210, 9370, 3600, 4680), 50)));
    }
}

TEST_F(PackagePrint, ThreeCopiesOfTheFiveBySeven) {
    auto target = print::defaultPrinter();
    ASSERT_TRUE(target);
    // A portrait picture is squeezed into the landscape cell, not turned.
    auto preview = [](int n) {
        return n == 2 ? solid(kColours[1], 200, 400) : n == 3 ? solid(kColours[2]) : QImage();
    };
    print::printPackages(*target, {&print::kPackages[1]}, 3, *picturesFrom(preview));
    const QStringList files = jobs(3);
    ASSERT_EQ(files.size(), 3);
    for (const QString& f : files) {
        const QImage page = testpdf::render(f, 60);
        EXPECT_TRUE(landsAt(testpdf::findColour(page, kColours[1]),
                            expectedPixels(QRectF(0, 0, 10080, 7200), 60)));
        EXPECT_TRUE(landsAt(testpdf::findColour(page, kColours[2]),
                            expectedPixels(QRectF(0, 7205, 10080, 7200), 60)));
    }
}

TEST_F(PackagePrint, EmptyPreviewsLeaveTheirCellsBlank) {
    auto target = print::defaultPrinter();
    ASSERT_TRUE(target);
    // Only the lower left 4x6 has a picture; the tab was never filled otherwise.
    auto preview = [](int n) { return n == 5 ? solid(kColours[4]) : QImage(); };
    print::printPackages(*target, {&print::kPackages[2]}, 1, *picturesFrom(preview));
    // And a sheet with nothing at all is still sent.
    print::printPackages(*target, {&print::kPackages[2]}, 1,
                         *picturesFrom([](int) { return QImage(); }));
    const QStringList files = jobs(2);
    ASSERT_EQ(files.size(), 2);
    const QImage page = testpdf::render(files[0], 60);
    EXPECT_TRUE(landsAt(testpdf::findColour(page, kColours[4]),
                        expectedPixels(QRectF(0, 5765, 5760, 8640), 60)));
    // Nothing else on the page but white.
    QImage rest = page.convertToFormat(QImage::Format_RGB32);
    QPainter(&rest).fillRect(expectedPixels(QRectF(0, 5765, 5760, 8640), 60).adjusted(-2, -2, 2, 2),
                             Qt::white);
    EXPECT_TRUE(whitePage(rest));
    EXPECT_EQ(testpdf::pageCount(files[1]), 1);
    EXPECT_TRUE(whitePage(testpdf::render(files[1], 60)));
}

TEST_F(PackagePrint, NoPackageNoSheet) {
    auto target = print::defaultPrinter();
    ASSERT_TRUE(target);
    const auto summary = print::printPackages(*target, {}, 1, *picturesFrom(coloured(1)));
    EXPECT_EQ(summary.sheets, 0);
    EXPECT_TRUE(jobs(0).isEmpty());
}

TEST_F(PackagePrint, RoutineAsksFirstAndCancelSendsNothing) {
    prompt.answers = false;
    const auto pictures = picturesFrom([](int) { return solid(kColours[0], 3000, 3750); });
    print::askAndPrintPackages(prompt, &main,
                               {&print::kPackages[0], &print::kPackages[1], &print::kPackages[2],
                                &print::kPackages[3], &print::kPackages[4]},
                               2, *pictures);
    // The printer and its paper first: the queue's default Letter, its one quality.
    EXPECT_EQ(prompt.asked,
              QStringList{printer().name + ": Letter, normal quality\nPlease make sure your "
                                           "printer is on and full of paper."});
    QTest::qWait(200);
    EXPECT_TRUE(jobs(0).isEmpty());
    EXPECT_TRUE(prompt.told.isEmpty());
}

TEST_F(PackagePrint, RoutinePrintsAfterPrintAndSaysNothing) {
    const auto pictures = picturesFrom([](int) { return solid(kColours[3]); });
    print::PrintJob* job = nullptr;
    print::askAndPrintPackages(prompt, &main, {&print::kPackages[1], &print::kPackages[3]}, 1,
                               *pictures, {}, [&job](print::PrintJob& started) { job = &started; });
    // The main window stays usable while the job runs.
    ASSERT_TRUE(QTest::qWaitFor([&] { return job != nullptr; }));
    EXPECT_TRUE(main.isEnabled());
    ASSERT_TRUE(testjob::waitFor(job));
    const QStringList files = jobs(2);
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(testpdf::embeddedImages(files[0]).size(), 2u); // 5x7 first
    EXPECT_EQ(testpdf::embeddedImages(files[1]).size(), 4u); // then 3.5x5
    EXPECT_TRUE(prompt.told.isEmpty());
}

// A package without any picture would print a sheet of empty cells: it is
// refused before anything is asked. One with some empty cells prints, and
// the question says which stay blank.
TEST_F(PackagePrint, APackageWithoutPicturesIsRefusedAndEmptyCellsAreNamed) {
    PackagePictures pictures;
    print::askAndPrintPackages(prompt, &main, {&print::kPackages[2]}, 1, pictures);
    EXPECT_EQ(prompt.told, QStringList{"The 4x6 package has no picture yet."});
    EXPECT_TRUE(prompt.asked.isEmpty());

    prompt.answers = false;
    pictures.set(print::kPackages[4].cells[0].picture, solid(kColours[0], 1200, 1560));
    print::askAndPrintPackages(prompt, &main, {&print::kPackages[4]}, 1, pictures);
    ASSERT_EQ(prompt.asked.size(), 1);
    EXPECT_EQ(prompt.asked[0].split('\n').value(1),
              "8 of the 9 2.5x3.25 prints have no picture: they stay blank.")
        << prompt.asked[0].toStdString();
}

TEST_F(PackagePrint, RefusedJobSaysUnableToPrint) {
    QString error;
    ASSERT_TRUE(server()->setAccepting(printer().name, false, &error)) << error.toStdString();
    const auto pictures = picturesFrom(coloured(1));
    print::askAndPrintPackages(prompt, &main, {&print::kPackages[0]}, 1, *pictures);
    const QString message = prompt.lastMessage();
    EXPECT_TRUE(message.startsWith("Unable to print! The printing system says: "))
        << message.toStdString();
    EXPECT_TRUE(message.contains("`cupsaccept parvello-test`"));
    ASSERT_TRUE(server()->setAccepting(printer().name, true, &error)) << error.toStdString();
    EXPECT_TRUE(jobs(0).isEmpty());
}

TEST_F(PackagePrint, NoPrinterMakesPdfFilesAndSaysWhere) {
    QProcess::execute("lpadmin", {"-x", printer().name});
    ASSERT_FALSE(print::defaultPrinter());
    const QString folder = home.path() + "/Documents/Parvello Prints";
    QDir().mkpath(folder);
    // An existing file of the same kind is never overwritten.
    QFile keep(folder + "/keep.pdf");
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("mine");
    keep.close();
    const auto pictures = picturesFrom(coloured(11));
    print::askAndPrintPackages(prompt, &main, {&print::kPackages[4]}, 2, *pictures);
    EXPECT_EQ(prompt.lastMessage(), "No printer found. Saved as PDF in Documents/Parvello Prints.");
    QStringList pdfs = QDir(folder).entryList({"*.pdf"}, QDir::Files, QDir::Name);
    pdfs.removeAll("keep.pdf");
    ASSERT_EQ(pdfs.size(), 2); // one file per sheet, even within the same second
    QFile mine(folder + "/keep.pdf");
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), "mine");
    // Same geometry as on paper: the cells from the page's origin.
    const QString first = folder + '/' + pdfs[0];
    EXPECT_EQ(testpdf::pageCount(first), 1);
    const QImage page = testpdf::render(first, 100);
    for (int i : {0, 4, 8}) {
        const QRectF twips((i % 3) * 3605, (i / 3) * 4685, 3600, 4680);
        EXPECT_TRUE(
            landsAt(testpdf::findColour(page, kColours[i]), expectedPixels(twips, 100, 0, 0)));
    }
    // Put the printer back for any test after this one in the same process.
    QString error;
    server()->addPrinter(printer(), true, &error);
}

// Printers installed, none of them the default: the message says so and
// where to choose one.
TEST_F(PackagePrint, NoDefaultPrinterSaysWhereToSetOne) {
    testsvc::FolderPrinter other;
    other.name = "parvello-other";
    QString error;
    ASSERT_TRUE(server()->addPrinter(other, false, &error)) << error.toStdString();
    QProcess::execute("lpadmin", {"-x", printer().name});
    const auto pictures = picturesFrom(coloured(1));
    print::askAndPrintPackages(prompt, &main, {&print::kPackages[0]}, 1, *pictures);
    EXPECT_EQ(prompt.lastMessage(),
              "No default printer is set: choose one under Utilities, \"Choose Printer...\", "
              "or in your system's printer settings. Saved as PDF in Documents/Parvello Prints.");
    QProcess::execute("lpadmin", {"-x", other.name});
    server()->addPrinter(printer(), true, &error);
}

// Some sheets refused, the rest saved as PDF: the message reports both.
TEST_F(PackagePrint, RefusedAndSavedSheetsAreBothReported) {
    print::PrintSummary summary;
    summary.failed = 1;
    summary.pdfFiles = 2;
    summary.sheets = 2;
    summary.pdfFolder = home.path() + "/Documents/Parvello Prints";
    EXPECT_EQ(print::summaryMessage(summary),
              "Unable to print! The printer refused 1 of the sheets; 2 saved as PDF in "
              "Documents/Parvello Prints.");
}

// The chosen printer's A4 paper with 5 mm margins cannot take an 8-inch
// print, and the pictures are small: the question says so before anything
// is printed.
TEST_F(PackagePrint, QuestionWarnsWhenThePaperWouldCutAPrint) {
    testsvc::FolderPrinter a4;
    a4.name = "parvello-a4-narrow";
    a4.paper = "A4";
    a4.left = a4.right = a4.top = a4.bottom = 5 * 72 / 25.4;
    QString error;
    ASSERT_TRUE(server()->addPrinter(a4, false, &error)) << error.toStdString();
    print::setChosenPrinter(a4.name);
    prompt.answers = false;
    const auto pictures = picturesFrom(coloured(1));
    print::askAndPrintPackages(prompt, &main, {&print::kPackages[0], &print::kPackages[1]}, 1,
                               *pictures);
    // Then the prints whose 320 x 240 pictures are too small for them.
    ASSERT_EQ(prompt.asked.size(), 1);
    EXPECT_EQ(prompt.asked[0],
              "parvello-a4-narrow: A4, normal quality\nThe 8x10 print is 3 mm wider than this "
              "printer can print on A4: its right edge will be cut.\n1 8x10 print will look soft: "
              "its picture is 320 × 240 pixels.\n2 "
              "5x7 prints will look soft: their picture is 320 × 240 pixels.\nPlease make sure "
              "your printer is on and full of paper.");
    print::setChosenPrinter({});
    QProcess::execute("lpadmin", {"-x", a4.name});
}

TEST_F(PackagePrint, DefaultPaperOfThePrinterIsUsed) {
    testsvc::FolderPrinter a4;
    a4.name = "parvello-a4";
    a4.paper = "A4";
    QString error;
    ASSERT_TRUE(server()->addPrinter(a4, true, &error)) << error.toStdString();
    auto target = print::defaultPrinter();
    ASSERT_TRUE(target);
    print::printPackages(*target, {&print::kPackages[0]}, 1, *picturesFrom(coloured(1)));
    ASSERT_TRUE(server()->waitForJobs(a4.name, 1));
    const QString file = server()->jobFiles(a4.name).value(0);
    const QSizeF size = testpdf::pageSize(file);
    EXPECT_NEAR(size.width(), 595.3, 0.6);
    EXPECT_NEAR(size.height(), 841.9, 0.6);
    QProcess::execute("lpadmin", {"-x", a4.name});
    server()->addPrinter(printer(), true, &error);
}
