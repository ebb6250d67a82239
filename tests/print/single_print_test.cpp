// "Print Single Picture" driven by clicks, printed through the private CUPS
// scheduler and read back.
#include "cups_fixture.h"
#include "print/frmPrintSingle.h"
#include "support/fake_prompt.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace testcups;

namespace {

[[maybe_unused]] auto* env = ::testing::AddGlobalTestEnvironment(new Environment);

const QRgb kColour = qRgb(0, 150, 60);

QImage picture() {
    QImage img(300, 200, QImage::Format_RGB32);
    img.fill(kColour);
    return img;
}

class SinglePrint : public CupsTest {
  protected:
    void SetUp() override {
        CupsTest::SetUp();
        main.show();
        dialog = new print::frmPrintSingle(popup, picture(), &main);
        dialog->show();
    }
    void TearDown() override {
        if (dialog)
            dialog->close();
        QTest::qWait(20);
    }
    QWidget main;
    FakePrompt popup;
    QPointer<print::frmPrintSingle> dialog;
};

} // namespace

TEST_F(SinglePrint, OpensWithEightByTenVerticalAndDisablesTheMainWindow) {
    EXPECT_EQ(dialog->windowTitle(), "Print Single Picture");
    EXPECT_FALSE(dialog->isModal());
    EXPECT_TRUE(dialog->Option1[0]->isChecked());
    EXPECT_TRUE(dialog->Option2[0]->isChecked());
    EXPECT_EQ(dialog->Option1[4]->text(), "&2.5x3.25");
    EXPECT_EQ(dialog->Option2[1]->toolTip(), "Print Horizontal");
    EXPECT_EQ(dialog->picOrig->toolTip(), "Picture to print.");
    EXPECT_FALSE(main.isEnabled());
    // One size and one orientation at a time.
    QTest::mouseClick(dialog->Option1[3], Qt::LeftButton);
    EXPECT_FALSE(dialog->Option1[0]->isChecked());
    EXPECT_EQ(dialog->selectedSize(), 3);
    EXPECT_FALSE(dialog->horizontal());
    QTest::mouseClick(dialog->Command2, Qt::LeftButton);
    QTest::qWait(10);
    EXPECT_TRUE(main.isEnabled());
    EXPECT_TRUE(dialog.isNull()); // closed and gone
}

TEST_F(SinglePrint, PrintsOneUprightEightByTenAtTheOrigin) {
    QTest::mouseClick(dialog->Command1, Qt::LeftButton);
    const QStringList files = jobs(1);
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(testpdf::pageCount(files[0]), 1);
    EXPECT_EQ(testpdf::pageSize(files[0]), QSizeF(612, 792));
    const QImage page = testpdf::render(files[0], 60);
    EXPECT_TRUE(landsAt(testpdf::findColour(page, kColour),
                        expectedPixels(QRectF(0, 0, 11520, 14400), 60)));
    // Printing keeps the dialog open and the main window disabled.
    ASSERT_FALSE(dialog.isNull());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(main.isEnabled());
}

TEST_F(SinglePrint, EverySizeUprightHasItsRectangle) {
    const double inches[5][2] = {{8, 10}, {5, 7}, {4, 6}, {3.5, 5}, {2.5, 3.25}};
    for (int i = 1; i < 5; ++i) {
        QTest::mouseClick(dialog->Option1[size_t(i)], Qt::LeftButton);
        QTest::mouseClick(dialog->Command1, Qt::LeftButton);
        ASSERT_EQ(jobs(i).size(), i); // answered and printed, so the next size is its own
    }
    const QStringList files = jobs(4);
    ASSERT_EQ(files.size(), 4);
    for (int i = 1; i < 5; ++i) {
        const QImage page = testpdf::render(files[i - 1], 60);
        EXPECT_TRUE(
            landsAt(testpdf::findColour(page, kColour),
                    expectedPixels(QRectF(0, 0, inches[i][0] * 1440, inches[i][1] * 1440), 60)))
            << i;
    }
}

TEST_F(SinglePrint, CancelInThePopupPrintsNothingAndKeepsTheDialog) {
    popup.answers = false;
    QTest::mouseClick(dialog->Command1, Qt::LeftButton);
    EXPECT_EQ(popup.asked.size(), 1);
    EXPECT_TRUE(jobs(0).isEmpty());
    ASSERT_FALSE(dialog.isNull());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(main.isEnabled());
}

// The main window may own the dialog; disabling the main window must not
// disable the dialog with it.
TEST_F(SinglePrint, DialogOwnedByTheMainWindowStaysUsable) {
    dialog->close();
    dialog = new print::frmPrintSingle(popup, picture(), &main, &main);
    dialog->show();
    EXPECT_FALSE(main.isEnabled());
    EXPECT_TRUE(dialog->isEnabled());
    EXPECT_TRUE(dialog->isWindow());
    QTest::mouseClick(dialog->Command1, Qt::LeftButton);
    EXPECT_EQ(jobs(1).size(), 1);
    EXPECT_TRUE(dialog->isEnabled());
    QTest::mouseClick(dialog->Command2, Qt::LeftButton);
    QTest::qWait(10);
    EXPECT_TRUE(main.isEnabled());
}

TEST_F(SinglePrint, NoPictureStillSendsTheBlankPage) {
    dialog->close();
    dialog = new print::frmPrintSingle(popup, QImage(), &main);
    dialog->show();
    QTest::mouseClick(dialog->Command1, Qt::LeftButton);
    const QStringList files = jobs(1);
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(testpdf::pageCount(files[0]), 1);
    EXPECT_TRUE(testpdf::embeddedImages(files[0]).empty());
}
