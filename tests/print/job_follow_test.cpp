// After the scheduler accepts a sheet, the program follows the job and tells
// the user in plain words when the printer cannot take it.
#include "cups_fixture.h"
#include "notify/frmmsnpopup.h"
#include "print/job_follow.h"
#include "print/print_routine.h"
#include "print/printer.h"
#include "print/printer_choice.h"
#include "support/pictures_from.h"
#include "support/popup_answers.h"

#include <QLabel>
#include <QTimer>

using namespace testcups;

namespace {

[[maybe_unused]] auto* env = ::testing::AddGlobalTestEnvironment(new Environment);

QImage picture() {
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::darkGreen);
    return img;
}

void lpadmin(const QStringList& args) {
    ASSERT_EQ(QProcess::execute("lpadmin", args), 0) << args.join(' ').toStdString();
}

class JobFollow : public CupsTest {
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
        auto target = print::defaultTarget();
        print::PrintSummary summary = print::printPackages(
            *target, packages, 1, *picturesFrom([](int) { return picture(); }));
        print::followJobs(summary);
        return summary;
    }
    notify::frmmsnpopup popup;
};

} // namespace

TEST_F(JobFollow, HealthyPrinterSaysNothing) {
    const auto summary = printAndFollow({&print::kPackages[0], &print::kPackages[1]});
    EXPECT_EQ(summary.jobs.size(), 2u);
    EXPECT_TRUE(summary.troubles.isEmpty()) << summary.troubles.join('\n').toStdString();
    EXPECT_TRUE(print::summaryMessage(summary).isEmpty());
}

// The queue paused with cupsdisable: the window keeps running while the
// job is followed, then the popup says which sheet waits and why.
TEST_F(JobFollow, PausedQueueSaysTheSheetIsWaiting) {
    ASSERT_EQ(QProcess::execute("cupsdisable", {printer().name}), 0);
    auto target = print::defaultTarget();
    print::PrintSummary summary = print::printPackages(
        *target, {&print::kPackages[1]}, 1, *picturesFrom([](int) { return picture(); }));
    bool eventsRan = false;
    QTimer::singleShot(0, [&] { eventsRan = true; });
    print::followJobs(summary);
    EXPECT_TRUE(eventsRan);
    print::reportToUser(popup, summary);
    ASSERT_TRUE(popup.isLoaded());
    EXPECT_EQ(popup.lblAlert->text(), "The printer is paused: the 5x7 sheet is waiting.");
}

TEST_F(JobFollow, HeldJobSaysSo) {
    lpadmin({"-p", printer().name, "-o", "job-hold-until-default=indefinite"});
    const auto summary = printAndFollow({&print::kPackages[0], &print::kPackages[4]});
    EXPECT_EQ(summary.troubles,
              QStringList{"The print job is on hold: the 8x10 and 2.5x3.25 sheets are waiting."});
}

// A printer out of paper: its backend reports it and gives up on the job.
TEST_F(JobFollow, PrinterOutOfPaper) {
    testsvc::FolderPrinter empty;
    empty.name = "parvello-empty";
    empty.failWith = "media-empty-error";
    QString error;
    ASSERT_TRUE(server()->addPrinter(empty, false, &error)) << error.toStdString();
    print::setChosenPrinter(empty.name);
    const auto summary = printAndFollow();
    EXPECT_EQ(summary.troubles,
              QStringList{"The printer is out of paper: the 5x7 sheet is waiting."});
    QProcess::execute("lpadmin", {"-x", empty.name});
}
