// The print scheduler stops before or in the middle of a print run: the run
// ends in bounded time, the sheets printed before stay printed, no sheet
// turns into a PDF unasked, the chosen printer is kept, and the user is told
// why. A queue that rejects jobs is named with what to do about it.
#include "print/cups_fixture.h"
#include "print/job_wait.h"

#include "print/print_routine.h"
#include "print/printer.h"
#include "print/printer_choice.h"
#include "print/sheet_orders.h"
#include "support/fake_prompt.h"
#include "support/pictures_from.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace testcups;

namespace {

[[maybe_unused]] auto* env = ::testing::AddGlobalTestEnvironment(new Environment);

QImage solid(QColor colour) {
    QImage image(90, 120, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class PrinterGone : public CupsTest {
  protected:
    FakePrompt prompt;
    void TearDown() override {
        // libcups keeps the socket it first used, so the same scheduler comes
        // back for later tests in this process.
        if (server() && !server()->running()) {
            QString error;
            EXPECT_TRUE(server()->start(&error)) << error.toStdString();
        }
    }
    QStringList pdfs() const {
        return QDir(home.path() + "/Documents/Parvello Prints")
            .entryList({"*.pdf"}, QDir::Files, QDir::Name);
    }
};

} // namespace

// The printer in use, with the scheduler stopped once `sheets` sheets are out.
class StopsAfter : public print::SheetTarget {
  public:
    StopsAfter(std::unique_ptr<print::SheetTarget> target, int sheets)
        : m_target(std::move(target)), m_left(sheets) {}
    print::SheetResult printSheet(const print::Sheet& sheet) override {
        print::SheetResult result = m_target->printSheet(sheet);
        if (--m_left == 0) {
            EXPECT_TRUE(server()->waitForJobs(printer().name, 2));
            // The scheduler's process belongs to the screen's thread; this runs on the job's.
            QMetaObject::invokeMethod(
                qApp, [] { server()->stop(); }, Qt::BlockingQueuedConnection);
        }
        return result;
    }
    int resolution() const override { return m_target->resolution(); }
    print::Paper paper() const override { return m_target->paper(); }
    QString printerName() const override { return m_target->printerName(); }
    bool stopped() const { return m_left <= 0; }

  private:
    std::unique_ptr<print::SheetTarget> m_target;
    int m_left;
};

const QString kUnreachable = "Unable to print! The printing system cannot be reached. Check "
                             "that CUPS is running, then print again.";

TEST_F(PrinterGone, SchedulerStopsMidRunTheRestFailsWithTheReason) {
    // 8x10 and 5x7, two copies each: four sheets. The scheduler stops once
    // the two 8x10 sheets are out, before the 5x7 sheet is made up.
    const QStringList printedBefore = server()->jobFiles(printer().name);
    ASSERT_TRUE(printedBefore.isEmpty());

    auto printerInUse = print::defaultTarget();
    ASSERT_TRUE(printerInUse);
    auto stopping = std::make_unique<StopsAfter>(std::move(printerInUse), 2);
    const StopsAfter& target = *stopping;
    QElapsedTimer clock;
    clock.start();
    print::PrintJob job(std::move(stopping),
                        print::packageOrders({&print::kPackages[0], &print::kPackages[1]}, 2,
                                             picturesFrom([](int n) {
                                                 return solid(n == 1 ? Qt::red : Qt::blue);
                                             })->snapshot()));
    const print::PrintSummary summary = testjob::run(job);
    EXPECT_LT(clock.elapsed(), 60000);
    ASSERT_TRUE(target.stopped());

    EXPECT_EQ(summary.sheets, 2);
    EXPECT_EQ(summary.failed, 2);
    EXPECT_EQ(summary.pdfFiles, 0);
    EXPECT_EQ(server()->jobFiles(printer().name).size(), 2);
    EXPECT_TRUE(pdfs().isEmpty());

    print::reportToUser(prompt, summary);
    EXPECT_EQ(prompt.told,
              QStringList{"Unable to print! 2 of the 4 sheets did not print. The printing system "
                          "cannot be reached. Check that CUPS is running, then print again."});
}

// A chosen printer outlives a scheduler that is down for a while: nothing is
// printed or saved meanwhile, and the next print goes to it.
TEST_F(PrinterGone, ChosenPrinterIsKeptWhileTheSchedulerIsDown) {
    testsvc::FolderPrinter chosen;
    chosen.name = "parvello-chosen";
    QString error;
    ASSERT_TRUE(server()->addPrinter(chosen, false, &error)) << error.toStdString();
    print::setChosenPrinter(chosen.name);
    server()->stop();

    const auto pictures = picturesFrom([](int) { return solid(Qt::green); });
    print::askAndPrintPackages(prompt, nullptr, {&print::kPackages[2]}, 3, *pictures);
    EXPECT_EQ(prompt.lastMessage(), kUnreachable);
    EXPECT_TRUE(pdfs().isEmpty());
    EXPECT_EQ(print::chosenPrinter(), chosen.name);

    ASSERT_TRUE(server()->start(&error)) << error.toStdString();
    prompt.told.clear();
    print::askAndPrintPackages(prompt, nullptr, {&print::kPackages[0]}, 1, *pictures);
    EXPECT_TRUE(server()->waitForJobs(chosen.name, 1));
    EXPECT_TRUE(server()->jobFiles(printer().name).isEmpty());
    print::setChosenPrinter({});
    QProcess::execute("lpadmin", {"-x", chosen.name});
}

TEST_F(PrinterGone, AQueueThatRejectsJobsIsAFailureWithWhatToDo) {
    QString error;
    ASSERT_TRUE(server()->setAccepting(printer().name, false, &error)) << error.toStdString();
    auto target = print::defaultTarget();
    ASSERT_TRUE(target);
    print::PrintJob job(std::move(target),
                        print::packageOrders({&print::kPackages[0]}, 1, picturesFrom([](int) {
                                                                            return solid(Qt::red);
                                                                        })->snapshot()));
    const auto summary = testjob::run(job);
    EXPECT_EQ(summary.failed, 1);
    EXPECT_EQ(summary.pdfFiles, 0);
    EXPECT_TRUE(pdfs().isEmpty());
    ASSERT_TRUE(server()->setAccepting(printer().name, true, &error)) << error.toStdString();
    // CUPS's own words come between these two.
    const QString message = print::summaryMessage(summary);
    EXPECT_TRUE(message.startsWith("Unable to print! The printing system says: "))
        << message.toStdString();
    EXPECT_TRUE(message.endsWith(" Enable the printer parvello-test in your system's printer "
                                 "settings (or `cupsaccept parvello-test`), then print again."))
        << message.toStdString();
}
