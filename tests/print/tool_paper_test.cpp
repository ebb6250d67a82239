// parvello-print's paper options against the photo printer: what it lists,
// what it refuses, and what the printer receives.
#include "photo_fixture.h"
#include "print/paper_memory.h"

using namespace testcups;

namespace {

[[maybe_unused]] auto* env = ::testing::AddGlobalTestEnvironment(new Environment);

struct Outcome {
    int exitCode;
    QString out, err;
};

class ToolPaper : public PhotoPrinterTest {
  protected:
    void SetUp() override {
        PhotoPrinterTest::SetUp();
        QImage red(400, 600, QImage::Format_RGB32);
        red.fill(qRgb(200, 30, 30));
        ASSERT_TRUE(red.save(home.filePath("red.png")));
    }

    Outcome run(QStringList args) {
        QProcess tool;
        tool.start(PARVELLO_PRINT_TOOL, QStringList{"--printer", kPhotoQueue} + args);
        EXPECT_TRUE(tool.waitForFinished(60000));
        return {tool.exitCode(), QString::fromLocal8Bit(tool.readAllStandardOutput()),
                QString::fromLocal8Bit(tool.readAllStandardError())};
    }

    testsvc::ReceivedJob lastJob(int count) {
        EXPECT_TRUE(photo.waitForJobs(count));
        QString error;
        const auto jobs = photo.receivedJobs(&error);
        EXPECT_EQ(int(jobs.size()), count) << error.toStdString();
        return jobs.empty() ? testsvc::ReceivedJob{} : jobs.back();
    }
};

} // namespace

TEST_F(ToolPaper, ListsWhatThePrinterOffersAndRefusesWhatItDoesNot) {
    const Outcome listed = run({"--list-printer-options"});
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    const QStringList lines = listed.out.split('\n');
    EXPECT_TRUE(lines.contains("  4x6       na_index-4x6_4x6in, borderless too"))
        << listed.out.toStdString();
    EXPECT_TRUE(lines.contains("  photographic-glossy   Glossy Photo Paper"))
        << listed.out.toStdString();
    EXPECT_TRUE(lines.contains("Quality (--quality): draft, normal, high"))
        << listed.out.toStdString();
    EXPECT_TRUE(lines.contains("  photo                 Photo Tray")) << listed.out.toStdString();
    EXPECT_TRUE(lines.contains("Prints on: Letter, glossy photo paper, best quality"))
        << listed.out.toStdString();

    const QString red = home.filePath("red.png");
    for (const auto& [flag, value, refusal] : std::vector<std::array<QString, 3>>{
             {"--paper", "Legal", "does not offer the paper \"Legal\"; it offers: "},
             {"--paper-type", "satin",
              "does not offer the paper type \"satin\"; it offers: "
              "stationery, photographic-glossy, photographic-matte"},
             {"--quality", "best",
              "does not offer the quality \"best\"; it offers: draft, "
              "normal, high"},
             {"--source", "rear", "does not offer the tray \"rear\"; it offers: main, photo"}}) {
        const Outcome refused = run({flag, value, "--single", "4x6", red});
        EXPECT_EQ(refused.exitCode, 2);
        EXPECT_TRUE(refused.err.contains("the printer parvello-photo " + refusal))
            << refused.err.toStdString();
    }
    QString error;
    EXPECT_TRUE(photo.receivedJobs(&error).empty()) << error.toStdString();
}

TEST_F(ToolPaper, PrintsOnTheAskedPaperElseOnTheRememberedOne) {
    const Outcome asked =
        run({"--paper", "4x6", "--borderless", "--paper-type", "photographic-matte", "--quality",
             "draft", "--source", "photo", "--single", "4x6", home.filePath("red.png")});
    EXPECT_EQ(asked.exitCode, 0) << asked.err.toStdString();
    testsvc::ReceivedJob job = lastJob(1);
    EXPECT_EQ(job.value("media-col.media-size.x-dimension"), "10160");
    EXPECT_EQ(job.value("media-col.media-size.y-dimension"), "15240");
    EXPECT_EQ(job.value("media-col.media-left-margin"), "0");
    EXPECT_EQ(job.value("media-col.media-type"), "photographic-matte");
    EXPECT_EQ(job.value("media-col.media-source"), "photo");
    EXPECT_EQ(job.value("print-quality"), "draft");

    // No paper options: what the window last chose for this printer.
    ASSERT_TRUE(print::rememberPaper(
        kPhotoQueue, {"na_5x7_5x7in", false, "photographic-glossy", "4", "main", "color"}));
    const Outcome remembered = run({"--single", "5x7", home.filePath("red.png")});
    EXPECT_EQ(remembered.exitCode, 0) << remembered.err.toStdString();
    EXPECT_TRUE(remembered.err.contains(
        "parvello-photo: 5x7, glossy photo paper, normal quality, main tray"))
        << remembered.err.toStdString();
    job = lastJob(2);
    EXPECT_EQ(job.value("media-col.media-size.x-dimension"), "12700");
    EXPECT_EQ(job.value("media-col.media-left-margin"), "423");
    EXPECT_EQ(job.value("media-col.media-type"), "photographic-glossy");
    EXPECT_EQ(job.value("print-quality"), "normal");
}
