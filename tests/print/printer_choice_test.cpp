// Which printer: the default unless the user chose another under Utilities
// (or with parvello-print --printer); a chosen printer that is gone falls
// back to the default, and the user is told once. The window also offers the
// selected printer's paper, quality and tray, and remembers them with it.
#include "photo_fixture.h"
#include "print/frmChoosePrinter.h"
#include "print/paper_memory.h"
#include "print/print_routine.h"
#include "print/printer_choice.h"
#include "support/fake_prompt.h"
#include "support/pictures_from.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
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

namespace {

// The photo printer beside the default folder printer (a queue with a PPD).
class PaperInTheWindow : public PhotoPrinterTest {
  protected:
    void TearDown() override { print::setChosenPrinter({}); }

    // Selects the printer's row and waits until the printer has answered.
    static void select(print::frmChoosePrinter& window, const QString& printer) {
        QTreeWidget* list = window.lstPrinters;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->data(1, Qt::UserRole).toString() == printer)
                list->setCurrentItem(list->topLevelItem(i));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isAsking(); }, 20000));
    }
    static QStringList items(const QComboBox* box, int role = Qt::DisplayRole) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemData(i, role).toString();
        return items;
    }
    static void pick(QComboBox* box, const QString& value) {
        box->setCurrentIndex(box->findData(value));
        ASSERT_GE(box->currentIndex(), 0) << value.toStdString();
    }
};

} // namespace

TEST_F(PaperInTheWindow, PhotoPaperChosenIsRememberedWithThePrinter) {
    {
        print::frmChoosePrinter window;
        // The printer is asked on a worker: the window says so meanwhile.
        QTreeWidget* list = window.lstPrinters;
        list->setCurrentItem(list->topLevelItem(0)); // parvello-photo, by name before the default
        EXPECT_TRUE(window.isAsking());
        EXPECT_EQ(window.lblPaperState->text(), "Asking the printer\u2026");
        select(window, kPhotoQueue);
        EXPECT_EQ(window.fraPaper->title(), "Paper for parvello-photo");

        // Each size once; borderless is the box beside it.
        QStringList sizes = items(window.cboPaperSize, Qt::UserRole);
        sizes.sort();
        EXPECT_EQ(sizes, QStringList({"iso_a4_210x297mm", "na_5x7_5x7in", "na_index-4x6_4x6in",
                                      "na_letter_8.5x11in"}));
        for (const QString& caption : items(window.cboPaperSize))
            EXPECT_FALSE(caption.contains("Borderless")) << caption.toStdString();
        EXPECT_EQ(items(window.cboPaperType),
                  QStringList({"Plain Paper", "Glossy Photo Paper", "Matte Photo Paper"}));
        EXPECT_EQ(items(window.cboQuality), QStringList({"Draft", "Normal", "High"}));
        EXPECT_EQ(items(window.cboSource), QStringList({"Main Tray", "Photo Tray"}));
        EXPECT_FALSE(window.cboSource->isHidden());

        pick(window.cboPaperSize, "na_index-4x6_4x6in");
        EXPECT_TRUE(window.chkBorderless->isEnabled());
        window.chkBorderless->setChecked(true);
        pick(window.cboPaperType, "photographic-glossy");
        pick(window.cboQuality, "5");
        pick(window.cboSource, "photo");

        // The PPD queue: its own two sizes, with borders only, no type or tray
        // to choose; back on the photo printer the choice made is still there.
        select(window, printer().name);
        EXPECT_EQ(window.fraPaper->title(), "Paper for parvello-test");
        EXPECT_EQ(window.cboPaperSize->count(), 2);
        EXPECT_FALSE(window.chkBorderless->isEnabled());
        EXPECT_FALSE(window.chkBorderless->isChecked());
        EXPECT_TRUE(window.cboPaperType->isHidden());
        EXPECT_TRUE(window.cboSource->isHidden());
        select(window, kPhotoQueue);
        EXPECT_EQ(window.cboPaperType->currentText(), "Glossy Photo Paper");
        window.cmdUse->click();
    }
    EXPECT_EQ(print::chosenPrinter(), kPhotoQueue);

    print::frmChoosePrinter again;
    select(again, kPhotoQueue); // already the current row: the printer in use
    EXPECT_EQ(again.lstPrinters->currentItem()->text(0), "\u2714");
    EXPECT_EQ(again.cboPaperSize->currentData().toString(), "na_index-4x6_4x6in");
    EXPECT_TRUE(again.chkBorderless->isChecked());
    EXPECT_EQ(again.cboPaperType->currentText(), "Glossy Photo Paper");
    EXPECT_EQ(again.cboQuality->currentText(), "High");
    EXPECT_EQ(again.cboSource->currentText(), "Photo Tray");
    EXPECT_TRUE(again.lblPaperState->isHidden());
}

TEST_F(PaperInTheWindow, PrinterThatCannotBeAskedSaysWhyAndIsStillChoosable) {
    print::frmChoosePrinter window;
    ASSERT_TRUE(QProcess::execute("lpadmin", {"-x", kPhotoQueue}) == 0);
    select(window, kPhotoQueue);
    EXPECT_EQ(window.lblPaperState->text(),
              "The printer parvello-photo is no longer set up. Choose another printer.");
    EXPECT_FALSE(window.cboPaperSize->isEnabled());
    EXPECT_TRUE(window.cmdUse->isEnabled());
    window.cmdUse->click();
    EXPECT_EQ(print::chosenPrinter(), kPhotoQueue);
}

TEST_F(PaperInTheWindow, RememberedPaperThePrinterNoLongerOffersIsNamed) {
    print::PaperChoice satin;
    satin.size = "na_index-4x6_4x6in";
    satin.type = "photographic-satin";
    ASSERT_TRUE(print::rememberPaper(kPhotoQueue, satin));
    print::frmChoosePrinter window;
    select(window, kPhotoQueue);
    EXPECT_EQ(window.lblPaperState->text(),
              "The printer parvello-photo no longer offers satin photo paper: Parvello uses "
              "glossy photo paper instead.");
    EXPECT_EQ(window.cboPaperSize->currentData().toString(), "na_index-4x6_4x6in");
    EXPECT_EQ(window.cboPaperType->currentText(), "Glossy Photo Paper");
}
