// A print job makes its sheets on a worker while the screen keeps running,
// follows the jobs the scheduler accepted and tells the user in plain words
// when the printer cannot take them.
#include "cups_fixture.h"
#include "job_wait.h"
#include "notify/frmmsnpopup.h"
#include "print/job_follow.h"
#include "print/print_job.h"
#include "print/print_routine.h"
#include "print/printer.h"
#include "print/printer_choice.h"
#include "print/sheet_orders.h"
#include "support/pictures_from.h"

#include <QLabel>
#include <QTimer>

using namespace testcups;

namespace {

[[maybe_unused]] auto* env = ::testing::AddGlobalTestEnvironment(new Environment);

QImage picture(QColor colour = Qt::darkGreen) {
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

void lpadmin(const QStringList& args) {
    ASSERT_EQ(QProcess::execute("lpadmin", args), 0) << args.join(' ').toStdString();
}

class PrintJobTest : public CupsTest {
  protected:
    void SetUp() override {
        CupsTest::SetUp();
        print::setJobFollowLimitMs(15000);
    }
    void TearDown() override {
        QProcess::execute("cupsenable", {printer().name});
        QProcess::execute("lpadmin",
                          {"-p", printer().name, "-o", "job-hold-until-default=no-hold"});
        QProcess::execute("cancel", {"-a", "-x"});
        print::setChosenPrinter({});
        if (popup.isLoaded())
            popup.close();
    }
    // Prints the 5x7 package (or the given packages) and follows the jobs.
    print::PrintSummary printAndFollow(const print::Packages& packages = {&print::kPackages[1]}) {
        print::PrintJob job(print::defaultTarget(),
                            print::packageOrders(packages, 1, picturesFrom([](int) {
                                                                  return picture();
                                                              })->snapshot()));
        return testjob::run(job);
    }
    QString pdfFolder() const { return home.path() + "/pdf"; }
    notify::frmmsnpopup popup;
};

// Calls `then` once `sheets` sheets have been handed over, on the job's worker.
class Counting : public print::SheetTarget {
  public:
    Counting(std::unique_ptr<print::SheetTarget> target, int sheets, std::function<void()> then)
        : m_target(std::move(target)), m_left(sheets), m_then(std::move(then)) {}
    print::SheetResult printSheet(const print::Sheet& sheet) override {
        print::SheetResult result = m_target->printSheet(sheet);
        if (--m_left == 0)
            m_then();
        return result;
    }
    int resolution() const override { return m_target->resolution(); }
    print::Paper paper() const override { return m_target->paper(); }

  private:
    std::unique_ptr<print::SheetTarget> m_target;
    int m_left;
    std::function<void()> m_then;
};

} // namespace

TEST_F(PrintJobTest, HealthyPrinterSaysNothing) {
    const auto summary = printAndFollow({&print::kPackages[0], &print::kPackages[1]});
    EXPECT_EQ(summary.jobs.size(), 2u);
    EXPECT_TRUE(summary.troubles.isEmpty()) << summary.troubles.join('\n').toStdString();
    EXPECT_TRUE(print::summaryMessage(summary).isEmpty());
}

// The queue paused with cupsdisable: the screen's timers keep firing while
// the job runs, then the popup says which sheet waits and why.
TEST_F(PrintJobTest, PausedQueueSaysTheSheetIsWaiting) {
    ASSERT_EQ(QProcess::execute("cupsdisable", {printer().name}), 0);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    print::PrintJob job(print::defaultTarget(),
                        print::packageOrders({&print::kPackages[1]}, 1, picturesFrom([](int) {
                                                                            return picture();
                                                                        })->snapshot()));
    int progressed = 0;
    QObject::connect(&job, &print::PrintJob::progress, [&](int done, int total) {
        EXPECT_EQ(total, 1);
        progressed = done;
    });
    const print::PrintSummary summary = testjob::run(job);
    EXPECT_GT(ticks, 1);
    EXPECT_EQ(progressed, 1);
    print::reportToUser(popup, summary);
    ASSERT_TRUE(popup.isLoaded());
    EXPECT_EQ(popup.lblAlert->text(), "The printer is paused: the 5x7 sheet is waiting.");
}

TEST_F(PrintJobTest, HeldJobSaysSo) {
    lpadmin({"-p", printer().name, "-o", "job-hold-until-default=indefinite"});
    const auto summary = printAndFollow({&print::kPackages[0], &print::kPackages[4]});
    EXPECT_EQ(summary.troubles,
              QStringList{"The print job is on hold: the 8x10 and 2.5x3.25 sheets are waiting."});
}

// A printer out of paper: its backend reports it and gives up on the job.
TEST_F(PrintJobTest, PrinterOutOfPaper) {
    testsvc::FolderPrinter empty;
    empty.name = "parvello-empty";
    empty.failWith = "media-empty-error";
    QString error;
    ASSERT_TRUE(server()->addPrinter(empty, false, &error)) << error.toStdString();
    print::setChosenPrinter(empty.name);
    const auto summary = printAndFollow();
    // The paper the job asked for is named.
    EXPECT_EQ(summary.troubles,
              QStringList{"Load Letter paper into the printer: the 5x7 sheet is waiting."});
    QProcess::execute("lpadmin", {"-x", empty.name});
}

// A photo printer asking for paper names the paper the job wants; where the
// job names none, the plain words.
TEST(PrinterStateInWords, PaperNeededNamesThePaper) {
    EXPECT_EQ(print::problemInWords({"media-needed-warning"}, "4x6 glossy photo paper"),
              "Load 4x6 glossy photo paper into the printer");
    EXPECT_EQ(print::problemInWords({"none", "media-empty-error"}), "The printer is out of paper");
    EXPECT_EQ(print::problemInWords({"cover-open-report"}), std::nullopt);
}

// Three copies of the 5x7, cancelled once the first is out: the one sheet
// stays, the other two are never made, and the summary says so.
TEST_F(PrintJobTest, CancelStopsBetweenSheets) {
    print::PrintJob* running = nullptr;
    auto target = std::make_unique<Counting>(print::pdfFolder(pdfFolder(), 100), 1,
                                             [&] { running->cancel(); });
    print::PrintJob job(std::move(target),
                        print::packageOrders({&print::kPackages[1]}, 3, picturesFrom([](int) {
                                                                            return picture();
                                                                        })->snapshot()));
    running = &job;
    EXPECT_EQ(job.sheetsTotal(), 3);
    const print::PrintSummary summary = testjob::run(job);
    EXPECT_EQ(summary.sheets, 1);
    EXPECT_EQ(summary.cancelled, 2);
    EXPECT_EQ(QDir(pdfFolder()).entryList({"*.pdf"}, QDir::Files).size(), 1);
}

// The pictures are taken when the job is made: a picture changed before it
// starts does not reach the sheet.
TEST_F(PrintJobTest, PicturesAreASnapshot) {
    const auto pictures = picturesFrom([](int) { return picture(Qt::red); });
    print::PrintJob job(print::pdfFolder(pdfFolder(), 100),
                        print::packageOrders({&print::kPackages[0]}, 1, pictures->snapshot()));
    pictures->set(0, picture(Qt::blue));
    EXPECT_EQ(testjob::run(job).sheets, 1);
    const QStringList files = QDir(pdfFolder()).entryList({"*.pdf"}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    const QImage page = testpdf::render(pdfFolder() + '/' + files[0], 30);
    EXPECT_FALSE(testpdf::findColour(page, qRgb(255, 0, 0)).isNull());
    EXPECT_TRUE(testpdf::findColour(page, qRgb(0, 0, 255)).isNull());
}
