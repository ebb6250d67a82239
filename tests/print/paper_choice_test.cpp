// The paper, quality and colour the user chose reach the printer with every
// job: read back from what the IPP Everywhere photo printer received.
#include "job_wait.h"
#include "photo_fixture.h"
#include "print/print_job.h"
#include "print/printer.h"
#include "print/sheet_orders.h"
#include "support/pictures_from.h"

using namespace testcups;

namespace {

[[maybe_unused]] auto* env = ::testing::AddGlobalTestEnvironment(new Environment);

using PaperChoice = PhotoPrinterTest;

QImage picture() {
    QImage img(60, 40, QImage::Format_RGB32);
    img.fill(Qt::darkGreen);
    return img;
}

} // namespace

TEST_F(PaperChoice, BorderlessGlossyInHighQualityReachesThePrinter) {
    print::PaperChoice choice;
    choice.size = "na_index-4x6_4x6in";
    choice.borderless = true;
    choice.type = "photographic-glossy";
    choice.quality = "5";
    choice.source = "photo";
    choice.colourMode = "color";
    const auto target = print::cupsPrinter(kPhotoQueue, choice);
    ASSERT_TRUE(target);
    // The sheets are laid out on the whole 4 x 6 inch card.
    EXPECT_EQ(target->paper().size, QSizeF(4 * 72, 6 * 72));
    EXPECT_EQ(target->paper().margins, QMarginsF());

    const print::PrintSummary summary = print::printSingleSheet(*target, picture(), 4, false);
    ASSERT_EQ(summary.jobs.size(), 1u) << summary.error.toStdString();
    ASSERT_TRUE(photo.waitForJobs(1));
    QString error;
    const auto jobs = photo.receivedJobs(&error);
    ASSERT_EQ(jobs.size(), 1u) << error.toStdString();
    const testsvc::ReceivedJob& job = jobs[0];
    // Hundredths of a millimetre: 4 x 6 inches, no margins.
    EXPECT_EQ(job.value("media-col.media-size.x-dimension"), "10160");
    EXPECT_EQ(job.value("media-col.media-size.y-dimension"), "15240");
    for (const char* side : {"top", "left", "bottom", "right"})
        EXPECT_EQ(job.value(QStringLiteral("media-col.media-%1-margin").arg(side)), "0") << side;
    EXPECT_EQ(job.value("media-col.media-type"), "photographic-glossy");
    EXPECT_EQ(job.value("media-col.media-source"), "photo");
    EXPECT_EQ(job.value("print-quality"), "high");
    EXPECT_EQ(job.value("print-color-mode"), "color");
}

TEST_F(PaperChoice, PaperWithBordersKeepsThePrintersMargins) {
    print::PaperChoice choice;
    choice.size = "na_5x7_5x7in";
    choice.type = "photographic-matte";
    const auto target = print::cupsPrinter(kPhotoQueue, choice);
    ASSERT_TRUE(target);
    const double sixth = 72.0 / 6; // the printer's edge, a sixth of an inch
    const QMarginsF m = target->paper().margins;
    EXPECT_NEAR(m.left(), sixth, 0.02);
    EXPECT_NEAR(m.top(), sixth, 0.02);
    EXPECT_NEAR(m.right(), sixth, 0.02);
    EXPECT_NEAR(m.bottom(), sixth, 0.02);

    ASSERT_EQ(print::printSingleSheet(*target, picture(), 4, false).jobs.size(), 1u);
    ASSERT_TRUE(photo.waitForJobs(1));
    QString error;
    const auto jobs = photo.receivedJobs(&error);
    ASSERT_EQ(jobs.size(), 1u) << error.toStdString();
    EXPECT_EQ(jobs[0].value("media-col.media-size.x-dimension"), "12700");
    EXPECT_EQ(jobs[0].value("media-col.media-left-margin"), "423");
    EXPECT_EQ(jobs[0].value("media-col.media-type"), "photographic-matte");
}

TEST_F(PaperChoice, PaperThePrinterDoesNotOfferFailsEverySheetInWords) {
    print::PaperChoice choice;
    choice.size = "na_legal_8.5x14in";
    const auto target = print::cupsPrinter(kPhotoQueue, choice);
    ASSERT_TRUE(target);
    const print::PrintSummary summary = print::printSingleSheet(*target, picture(), 4, false);
    EXPECT_EQ(summary.failed, 1);
    EXPECT_EQ(summary.error, "The printer parvello-photo does not offer the paper "
                             "na_legal_8.5x14in. Choose another paper, then print again.");
    QString error;
    EXPECT_TRUE(photo.receivedJobs(&error).empty()) << error.toStdString();
}

// A 4x6 print on 4x6 paper is the whole card: borderless it reaches every
// edge (no white hairline), with borders it sits centred within the margins.
TEST_F(PaperChoice, FourBySixPrintOnFourBySixPaperIsTheWholeCard) {
    QImage red(400, 600, QImage::Format_RGB32);
    red.fill(qRgb(200, 30, 30));
    const int fourBySix = 2;
    print::PaperChoice choice{
        "na_index-4x6_4x6in", true, "photographic-glossy", "5", "photo", "color"};
    ASSERT_EQ(
        print::printSingleSheet(*print::cupsPrinter(kPhotoQueue, choice), red, fourBySix, false)
            .jobs.size(),
        1u);
    choice.borderless = false;
    ASSERT_EQ(
        print::printSingleSheet(*print::cupsPrinter(kPhotoQueue, choice), red, fourBySix, false)
            .jobs.size(),
        1u);
    ASSERT_TRUE(photo.waitForJobs(2));
    const QStringList documents = photo.receivedDocuments();
    ASSERT_EQ(documents.size(), 2);

    const int dpi = 36;
    for (const QString& document : documents)
        EXPECT_EQ(testpdf::pageSize(document), QSizeF(4 * 72, 6 * 72)) << document.toStdString();
    const QImage borderless = testpdf::render(documents[0], dpi);
    ASSERT_EQ(borderless.size(), QSize(4 * dpi, 6 * dpi));
    int white = 0;
    for (int x = 0; x < borderless.width(); ++x)
        for (int y : {0, borderless.height() - 1})
            white += qRed(borderless.pixel(x, y)) > 240 && qGreen(borderless.pixel(x, y)) > 240;
    for (int y = 0; y < borderless.height(); ++y)
        for (int x : {0, borderless.width() - 1})
            white += qRed(borderless.pixel(x, y)) > 240 && qGreen(borderless.pixel(x, y)) > 240;
    EXPECT_EQ(white, 0);

    // A sixth of an inch at the sides; the 2:3 print then leaves a quarter
    // inch above and below.
    const QRect found = testpdf::findColour(testpdf::render(documents[1], dpi), qRgb(200, 30, 30));
    EXPECT_TRUE(landsAt(found, QRectF(dpi / 6.0, dpi / 4.0, 4 * dpi - dpi / 3.0, 5.5 * dpi), 1));
}

// The folder printer's queue has a PPD: the chosen paper reaches it as its
// page size, and the wallet sheet sits in A4's printable corner.
TEST_F(PaperChoice, PpdQueueTakesTheChosenPaper) {
    print::PaperChoice a4;
    a4.size = "iso_a4_210x297mm";
    const auto target = print::cupsPrinter(printer().name, a4);
    ASSERT_TRUE(target);
    const auto pictures = picturesFrom([](int) {
        QImage blue(300, 390, QImage::Format_RGB32);
        blue.fill(qRgb(30, 30, 200));
        return blue;
    });
    ASSERT_EQ(print::printPackages(*target, {&print::kPackages[4]}, 1, *pictures).jobs.size(), 1u);
    const QStringList files = jobs(1);
    ASSERT_EQ(files.size(), 1);
    const QSizeF page = testpdf::pageSize(files[0]);
    EXPECT_NEAR(page.width(), 210 / 25.4 * 72, 1);
    EXPECT_NEAR(page.height(), 297 / 25.4 * 72, 1);
    // Three wallets across, three down, 5 twips apart.
    const QRect found = testpdf::findColour(testpdf::render(files[0], kDpi), qRgb(30, 30, 200));
    EXPECT_TRUE(
        landsAt(found, expectedPixels(QRectF(0, 0, 3 * 3600 + 10, 3 * 4680 + 10), kDpi), 1));
}

// The printer asks for paper while the job waits: the message names the
// paper the job wants.
TEST_F(PaperChoice, PrinterWantingPaperNamesThePaperTheJobWants) {
    photo.setWantsPaper(true);
    const print::PaperChoice choice{
        "na_index-4x6_4x6in", true, "photographic-glossy", "5", "", "color"};
    print::PrintJob job(print::cupsPrinter(kPhotoQueue, choice),
                        {print::singleOrder(picture(), 2, false)});
    const print::PrintSummary summary = testjob::run(job);
    EXPECT_EQ(
        summary.troubles,
        QStringList{"Load 4x6 glossy photo paper into the printer: the 4x6 print is waiting."});
}
