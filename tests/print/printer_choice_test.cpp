// Which printer: the default unless the user chose another under Utilities
// (or with parvello-print --printer); a chosen printer that is gone falls
// back to the default, and the user is told once.
#include "cups_fixture.h"
#include "print/frmChoosePrinter.h"
#include "print/print_routine.h"
#include "print/printer_choice.h"
#include "support/fake_prompt.h"
#include "support/pictures_from.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

using namespace testcups;

namespace {

[[maybe_unused]] auto* env = ::testing::AddGlobalTestEnvironment(new Environment);

QImage picture() {
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::darkBlue);
    return img;
}

class PrinterChoice : public CupsTest {
  protected:
    void SetUp() override {
        CupsTest::SetUp();
        second.name = "parvello-second";
        QString error;
        ASSERT_TRUE(server()->addPrinter(second, false, &error)) << error.toStdString();
        for (const QString& f : server()->jobFiles(second.name))
            QFile::remove(f);
    }
    void TearDown() override { print::setChosenPrinter({}); }
    FakePrompt prompt;
    // Each row as the user reads it: the in-use mark, name and state.
    static QStringList rows(const print::frmChoosePrinter& window) {
        QStringList rows;
        for (int i = 0; i < window.lstPrinters->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = window.lstPrinters->topLevelItem(i);
            rows << row->text(0) + ' ' + row->text(1) + ' ' + row->text(3);
        }
        return rows;
    }
    testsvc::FolderPrinter second;
};

} // namespace

TEST_F(PrinterChoice, ChosenInTheWindowPrintsThereAndBackToTheDefault) {
    {
        print::frmChoosePrinter window;
        EXPECT_EQ(window.windowTitle(), "Choose Printer");
        // In the scheduler's order, by name.
        EXPECT_EQ(rows(window),
                  QStringList({" parvello-second Ready", "\u2714 parvello-test (default) Ready"}));
        window.lstPrinters->setCurrentItem(window.lstPrinters->topLevelItem(0));
        window.cmdUse->click();
    }
    EXPECT_EQ(print::chosenPrinter(), second.name);
    print::frmChoosePrinter again;
    EXPECT_EQ(rows(again),
              QStringList({"\u2714 parvello-second Ready", " parvello-test (default) Ready"}));

    const auto pictures = picturesFrom([](int) { return picture(); });
    print::askAndPrintPackages(prompt, nullptr, {&print::kPackages[1]}, 1, *pictures);
    EXPECT_TRUE(server()->waitForJobs(second.name, 1));
    EXPECT_TRUE(jobs(0).isEmpty()); // nothing on the default printer

    // Choosing the default printer follows the system's default again.
    again.lstPrinters->setCurrentItem(again.lstPrinters->topLevelItem(1));
    again.cmdUse_Click();
    EXPECT_EQ(print::chosenPrinter(), "");
}

TEST_F(PrinterChoice, GonePrinterFallsBackToTheDefaultWithAMessageOnce) {
    print::setChosenPrinter("parvello-sold");
    const auto pictures = picturesFrom([](int) { return picture(); });
    print::askAndPrintPackages(prompt, nullptr, {&print::kPackages[1]}, 1, *pictures);
    EXPECT_EQ(prompt.lastMessage(),
              "The printer parvello-sold is no longer installed: Parvello prints on the "
              "default printer.");
    EXPECT_EQ(jobs(1).size(), 1);
    EXPECT_EQ(print::chosenPrinter(), "");
    prompt.told.clear();
    print::askAndPrintPackages(prompt, nullptr, {&print::kPackages[1]}, 1, *pictures);
    EXPECT_EQ(jobs(2).size(), 2);
    EXPECT_TRUE(prompt.told.isEmpty());
}

TEST_F(PrinterChoice, ToolTakesThePrinterByName) {
    ASSERT_TRUE(picture().save(home.filePath("blue.png")));
    QProcess tool;
    tool.start(PARVELLO_PRINT_TOOL,
               {"--printer", second.name, "--single", "4x6", home.filePath("blue.png")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_TRUE(server()->waitForJobs(second.name, 1));
    EXPECT_TRUE(jobs(0).isEmpty());
}
