// Remembered settings: what is accepted, what falls back, what is written.
#include "app_fixture.h"

#include "app/browser_lists.h"
#include "app/copies_spinner.h"
#include "app/file_list.h"
#include "common/units.h"
#include "print/printer_choice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTabWidget>

namespace {

using SettingsTest = AppFixture;

void expectDefaults(frmcovercreator& w) {
    EXPECT_EQ(w.SSTab1()->currentIndex(), 0);
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(w.check(i)->isChecked()) << i;
    EXPECT_EQ(w.NumberOfCopies()->text(), "1");
    EXPECT_EQ(w.VScroll1()->value(), 1);
    EXPECT_EQ(w.order().copies(), 1);
    EXPECT_FALSE(w.cmdPrint()->isEnabled());
    EXPECT_EQ(w.dirSelect()->path(), frmcovercreator::defaultPlace().folder);
}

TEST_F(SettingsTest, NoFileGivesTheDefaults) {
    auto w = open();
    expectDefaults(*w);
    EXPECT_EQ(w->order().selected(), print::PrintOrder::kNone);
    EXPECT_FALSE(w->state().inTray);
}

TEST_F(SettingsTest, ValidValuesAreApplied) {
    writeIniAtPictures("Tab=3\n8x10=1\n5x7=0\n4x6=1\n3.5x5=1\n2.5x3.25=1\nCopies=3\n");
    auto w = open();
    EXPECT_EQ(w->SSTab1()->currentIndex(), 3);
    EXPECT_TRUE(w->check(0)->isChecked());
    EXPECT_FALSE(w->check(1)->isChecked());
    EXPECT_TRUE(w->check(4)->isChecked());
    EXPECT_TRUE(w->cmdPrint()->isEnabled());
    EXPECT_EQ(w->NumberOfCopies()->text(), "3");
    EXPECT_EQ(w->order().copies(), 3);
    EXPECT_EQ(w->dirSelect()->path(), pictures());
    EXPECT_EQ(w->fileSelect()->path(), pictures());
}

TEST_F(SettingsTest, ValuesAreComparedExactly) {
    writeIniAtPictures("Tab=6\n8x10=2\n5x7= 1\n4x6=01\nCopies=7\n");
    auto w = open();
    EXPECT_EQ(w->SSTab1()->currentIndex(), 0);
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(w->check(i)->isChecked()) << i;
    EXPECT_FALSE(w->cmdPrint()->isEnabled());
    EXPECT_EQ(w->NumberOfCopies()->text(), "1");
    // The folder was valid, so it stays.
    EXPECT_EQ(w->dirSelect()->path(), pictures());
}

TEST_F(SettingsTest, LetterTabAndZeroCopiesFallBackOneByOne) {
    writeIniAtPictures("Tab=a\n2.5x3.25=1\nCopies=0\n");
    auto w = open();
    EXPECT_EQ(w->SSTab1()->currentIndex(), 0);
    EXPECT_TRUE(w->check(4)->isChecked());
    EXPECT_EQ(w->order().copies(), 1);
}

TEST_F(SettingsTest, DeletedFolderGivesTheFullDefaults) {
    writeIni("[MAIN]\nDrive=/\nDir=" + dir.filePath("gone").toUtf8() +
             "\nTab=2\n8x10=1\nCopies=4\n");
    auto w = open();
    expectDefaults(*w);
}

TEST_F(SettingsTest, EmptyDriveGivesTheFullDefaults) {
    writeIni("[MAIN]\nDir=" + pictures().toUtf8() + "\nTab=2\n5x7=1\nCopies=4\n");
    auto w = open();
    expectDefaults(*w);
}

TEST_F(SettingsTest, AnOverlongFolderThatIsNotThereGivesTheDefaults) {
    writeIni("[MAIN]\nDrive=/\nDir=" + pictures().toUtf8() + QByteArray(3000, 'z') + "\nTab=1\n");
    auto w = open();
    expectDefaults(*w);
}

TEST_F(SettingsTest, JunkOrSectionlessFilesStartWithDefaults) {
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 131 + 7) & 0xff));
    writeIni(junk);
    expectDefaults(*open());
    writeIni("Tab=3\nCopies=2\n");
    expectDefaults(*open());
    writeIni("[MAIN]\nTab=" + QByteArray(200000, '3') + "\n");
    expectDefaults(*open());
}

TEST_F(SettingsTest, ClosingWritesTheNineKeysInOrder) {
    writeIniAtPictures("");
    {
        auto w = open();
        w->SSTab1()->setCurrentIndex(4);
        w->check(1)->setChecked(true);
        w->check(2)->setChecked(true);
        w->VScroll1()->setValue(2);
        w->close();
    }
    QFile f(iniPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray expected = "[MAIN]\nDrive=/\nDir=" + pictures().toUtf8() +
                                "\nTab=4\n8x10=0\n5x7=1\n4x6=1\n3.5x5=0\n2.5x3.25=0\nCopies=2\n"
                                "Fill=stretch\nTurnToFit=1\nCutGuides=0\n";
    // Then where the window was: as designed, 10590 x 8295 twips, not maximised.
    const QString rest = QStringLiteral("WindowLeft=-?\\d+\nWindowTop=-?\\d+\nWindowWidth=%1\n"
                                        "WindowHeight=%2\nWindowMaximized=0\n")
                             .arg(units::toScreenPixels(10590))
                             .arg(units::toScreenPixels(8295));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_EQ(text.left(expected.size()).toStdString(), QString::fromUtf8(expected).toStdString());
    EXPECT_TRUE(QRegularExpression("^" + rest + "$").match(text.mid(expected.size())).hasMatch())
        << qPrintable(text);
}

// The chosen printer is a key of its own, written after the nine; choosing
// the default printer again empties it.
TEST_F(SettingsTest, ChosenPrinterIsKeptAfterTheNineKeys) {
    writeIniAtPictures("");
    auto readBack = [&] {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    {
        auto w = open();
        print::setChosenPrinter("Office Laser");
        w->close();
    }
    EXPECT_TRUE(readBack().contains("\nCopies=1\nPrinter=Office Laser\n")) << readBack().data();
    print::setChosenPrinter({});
    {
        auto w = open();
        EXPECT_EQ(print::chosenPrinter(), "Office Laser");
        print::setChosenPrinter({});
        w->close();
    }
    EXPECT_TRUE(readBack().contains("\nCopies=1\nPrinter=\n")) << readBack().data();
}

// A first start crops to fill and draws cut guides; a settings file from
// before keeps stretched pictures and bare sheets until the user changes them.
TEST_F(SettingsTest, FillModeIsNewOnlyForNewSettingsFiles) {
    {
        auto w = open();
        EXPECT_EQ(w->fillMode()->currentText(), "Crop to fill");
        EXPECT_TRUE(w->turnToFit()->isChecked());
        EXPECT_TRUE(w->cutGuides()->isChecked());
    }
    writeIniAtPictures("Copies=2\n");
    {
        auto w = open();
        EXPECT_EQ(w->fillMode()->currentText(), "Stretch");
        EXPECT_TRUE(w->turnToFit()->isChecked());
        EXPECT_FALSE(w->cutGuides()->isChecked());
        w->fillMode()->setCurrentIndex(2);
        w->turnToFit()->setChecked(false);
        w->cutGuides()->setChecked(true);
        w->close();
    }
    auto w = open();
    EXPECT_EQ(w->fillMode()->currentText(), "Fit");
    EXPECT_FALSE(w->turnToFit()->isChecked());
    EXPECT_TRUE(w->cutGuides()->isChecked());
}

// The window opens where it was left, maximised if it was; a place off every
// screen, or one that is no place, opens the designed size in the middle.
TEST_F(SettingsTest, TheWindowOpensWhereItWasLeftIfThatIsOnAScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect left(screen.topLeft() + QPoint(30, 40), QSize(720, 560));
    writeIniAtPictures(QStringLiteral("WindowLeft=%1\nWindowTop=%2\nWindowWidth=%3\n"
                                      "WindowHeight=%4\nWindowMaximized=1\n")
                           .arg(left.x())
                           .arg(left.y())
                           .arg(left.width())
                           .arg(left.height())
                           .toUtf8());
    {
        auto w = open();
        EXPECT_EQ(w->normalGeometry(), left);
        EXPECT_TRUE(w->windowState() & Qt::WindowMaximized);
    }
    const QSize designed(units::toScreenPixels(10590), units::toScreenPixels(8295));
    for (const QByteArray& place :
         {QByteArray("WindowLeft=-9000\nWindowTop=40000\nWindowWidth=720\nWindowHeight=560\n"),
          QByteArray("WindowLeft=30\nWindowTop=4O\nWindowWidth=720\nWindowHeight=560\n")}) {
        writeIniAtPictures(place);
        auto w = open();
        EXPECT_EQ(w->size(), designed);
        EXPECT_NEAR(w->geometry().center().x(), screen.center().x(), 2);
        EXPECT_TRUE(screen.contains(w->geometry()));
        EXPECT_FALSE(w->windowState() & Qt::WindowMaximized);
    }
}

TEST_F(SettingsTest, WhatIsWrittenIsReadBack) {
    writeIniAtPictures("");
    {
        auto w = open();
        w->SSTab1()->setCurrentIndex(5);
        w->check(0)->setChecked(true);
        w->VScroll1()->setValue(5);
        w->close();
    }
    auto w = open();
    EXPECT_EQ(w->SSTab1()->currentIndex(), 5);
    EXPECT_TRUE(w->check(0)->isChecked());
    EXPECT_EQ(w->order().copies(), 5);
    EXPECT_EQ(w->dirSelect()->path(), pictures());
}

} // namespace
