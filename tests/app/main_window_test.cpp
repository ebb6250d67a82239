// The main window: loading files into previews, selection, copies, the print
// button, commands and the tray.
#include "app_fixture.h"

#include "app/browser_lists.h"
#include "app/copies_spinner.h"
#include "app/file_list.h"
#include "app/picture_browser.h"
#include "app/preview_image.h"
#include "common/units.h"
#include "common/version.h"
#include "editor/frmManipulate.h"
#include "notify/frmmsnpopup.h"
#include "pictures/positions.h"
#include "print/frmPrintSingle.h"
#include "support/popup_answers.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <cerrno>
#include <cstring>
#include <functional>

#include <sys/mount.h>

namespace {

class MainWindowTest : public AppFixture {
  protected:
    std::unique_ptr<frmcovercreator> w;
    void SetUp() override {
        makePicture("red.jpg", Qt::red);
        makePicture("GREEN.JPG", Qt::green);
        makePicture("blue.bmp", Qt::blue, 64, 48, "BMP");
        writeIniAtPictures("");
        w = open();
    }
    // Clicks the file; the picture loads on a worker, which `wait` waits for.
    void clickFile(const QString& name, bool wait = true) {
        w->fileSelect()->clearSelection();
        ASSERT_TRUE(w->fileSelect()->selectFile(name)) << qPrintable(name);
        w->fileSelect_Click();
        if (wait)
            waitForLoads();
    }
    void waitForLoads() {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w->pictures().isLoading(); }, 30000));
    }
    // The colour of a preview's picture: 'r', 'g', 'b' or '-' for none.
    char colourOf(int position) const {
        const QImage& p = w->pictures().picture(position);
        if (p.isNull())
            return '-';
        const QColor c = p.pixelColor(p.width() / 2, p.height() / 2);
        return c.red() > 200 ? 'r' : c.green() > 200 ? 'g' : c.blue() > 200 ? 'b' : '?';
    }
    std::string colours(int from, int to) const {
        std::string s;
        for (int i = from; i <= to; ++i)
            s += colourOf(i);
        return s;
    }
    void clickPreview(int position) {
        QTest::mouseClick(w->previewImage(position), Qt::LeftButton);
    }
};

// 10590 x 8295 twips as designed, and no smaller; larger, the previews take
// what it gains.
TEST_F(MainWindowTest, OpensAtTheDesignedSizeAndItsPreviewsGrowWithIt) {
    EXPECT_EQ(w->windowTitle(), "Parvello");
    const QSize designed(units::toScreenPixels(10590), units::toScreenPixels(8295));
    EXPECT_EQ(w->size(), designed);
    EXPECT_EQ(w->minimumSize(), designed);
    w->show();
    const QSize before = w->previewImage(0)->size();
    w->resize(designed + QSize(80, 40));
    QApplication::processEvents();
    const QSize after = w->previewImage(0)->size();
    EXPECT_GT(after.height(), before.height());
    EXPECT_NEAR(double(after.width()) / after.height(), double(before.width()) / before.height(),
                0.02);
}

TEST_F(MainWindowTest, FileListShowsPicturesWhateverTheirCase) {
    EXPECT_EQ(w->fileSelect()->names(), QStringList({"blue.bmp", "GREEN.JPG", "red.jpg"}));
}

// A card mounted while the program runs shows up in the drive list within two seconds, by
// its name; when it is unmounted it goes, and the lists move to the next drive if it was
// the current one.
TEST_F(MainWindowTest, DrivesMountedOrUnmountedWhileRunningComeAndGo) {
    QTemporaryDir media("/mnt/parvello-card-XXXXXX");
    if (!media.isValid())
        GTEST_SKIP() << "cannot make a folder under /mnt here";
    const QString card = dir.filePath("card"), mountPoint = media.path();
    QDir().mkpath(card);
    QImage photo(8, 8, QImage::Format_RGB32);
    photo.fill(Qt::red);
    ASSERT_TRUE(photo.save(card + "/photo.jpg"));
    if (::mount(QFile::encodeName(card).constData(), QFile::encodeName(mountPoint).constData(),
                nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "cannot mount here: " << std::strerror(errno);
    const auto unmount = [&] { return ::umount2(QFile::encodeName(mountPoint).constData(), 0); };
    struct Guard {
        std::function<int()> undo;
        ~Guard() { undo(); }
    } guard{unmount};

    const auto drives = [&] {
        QStringList roots;
        for (int i = 0; i < w->drvSelect()->count(); ++i)
            roots << w->drvSelect()->itemData(i).toString();
        return roots;
    };
    const auto withinTwoSeconds = [](const std::function<bool()>& condition) {
        QElapsedTimer clock;
        clock.start();
        while (!condition() && clock.elapsed() < 2000)
            QTest::qWait(20);
        return condition();
    };
    ASSERT_TRUE(withinTwoSeconds([&] { return drives().contains(mountPoint); }));
    const int item = w->drvSelect()->findData(mountPoint);
    EXPECT_EQ(w->drvSelect()->itemText(item), QFileInfo(mountPoint).fileName());

    // The user opens the card.
    ASSERT_TRUE(w->drvSelect()->setDrive(mountPoint));
    w->drvSelect_Change();
    ASSERT_EQ(w->fileSelect()->path(), mountPoint);
    ASSERT_EQ(w->fileSelect()->names().size(), 1);
    const QStringList before = drives();
    const int at = int(before.indexOf(mountPoint));
    const QString next = at + 1 < before.size() ? before[at + 1] : before[at - 1];

    ASSERT_EQ(unmount(), 0);
    guard.undo = [] { return 0; };
    ASSERT_TRUE(withinTwoSeconds([&] { return !drives().contains(mountPoint); }));
    EXPECT_EQ(w->drvSelect()->drive(), next);
    EXPECT_EQ(w->dirSelect()->path(), next);
    EXPECT_EQ(w->fileSelect()->path(), next);
}

TEST_F(MainWindowTest, FileWithoutSelectionFillsTheWholeTab) {
    w->SSTab1()->setCurrentIndex(4);
    clickFile("red.jpg");
    EXPECT_EQ(colours(10, 18), "rrrrrrrrr");
    EXPECT_EQ(colours(0, 9), "----------");
    // The nine previews share one decoded picture.
    EXPECT_EQ(w->pictures().picture(10).constBits(), w->pictures().picture(18).constBits());
}

TEST_F(MainWindowTest, LargePhotoPrintsAtFullSizeAndANewerClickWins) {
    // Large enough for the previews to show a reduced decode first.
    makePicture("large.jpg", Qt::green, 3000, 2000);
    w->fileSelect()->setPath(w->fileSelect()->path());
    w->SSTab1()->setCurrentIndex(4);
    clickFile("large.jpg", false);
    clickFile("red.jpg"); // before the large one has loaded
    EXPECT_EQ(colours(10, 18), "rrrrrrrrr");
    clickFile("large.jpg");
    EXPECT_EQ(colours(10, 18), "ggggggggg");
    for (int i = 10; i <= 18; ++i)
        EXPECT_EQ(w->pictures().picture(i).size(), QSize(3000, 2000)) << i;
}

// As a path with spaces, a file:// URI or a path relative to the working folder; a missing
// file or one that is no picture is told, and the window stays as it was.
TEST_F(MainWindowTest, APictureGivenOnTheCommandLineOpensInTheCurrentTab) {
    w->show();
    QTemporaryDir other;
    const QString photos = other.filePath("My Photos");
    QDir().mkpath(photos);
    for (auto [name, colour] : {std::pair{"Holiday 1.JPG", Qt::blue}, {"green.png", Qt::green}}) {
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(photos + '/' + name));
    }
    w->SSTab1()->setCurrentIndex(1);
    w->openFile(photos + "/Holiday 1.JPG");
    waitForLoads();
    EXPECT_EQ(w->dirSelect()->path(), photos);
    EXPECT_EQ(colours(0, 2), "-bb");
    w->openFile(QUrl::fromLocalFile(QDir(pictures()).filePath("red.jpg")).toString());
    waitForLoads();
    EXPECT_EQ(colours(0, 2), "-rr");
    const QString before = QDir::currentPath();
    QDir::setCurrent(other.path());
    w->openFile("My Photos/green.png");
    QDir::setCurrent(before);
    waitForLoads();
    EXPECT_EQ(colours(0, 2), "-gg");

    w->openFile(photos + "/gone.jpg");
    EXPECT_EQ(testpopup::lastMessage(w->popup()),
              "gone.jpg could not be read: there is no such file.");
    ASSERT_TRUE(testpopup::dismiss(w->popup()));
    QFile notes(photos + "/notes.txt");
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();
    w->openFile(notes.fileName());
    EXPECT_EQ(testpopup::lastMessage(w->popup()),
              "notes.txt could not be read: Parvello does not read this kind of file.");
    ASSERT_TRUE(testpopup::dismiss(w->popup()));
    EXPECT_EQ(w->dirSelect()->path(), photos);
    EXPECT_EQ(colours(0, 2), "-gg");
}

// What the file manager's drag carries: file URIs. Whether the widget takes it (the drop
// cursor shows); if it does, dropped.
bool dragAndDrop(QWidget* target, const QStringList& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files)
        urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    const QPoint centre = target->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

TEST_F(MainWindowTest, APictureDroppedOnAPrintGoesThereAndElsewhereActsAsAClick) {
    w->SSTab1()->setCurrentIndex(1);
    const QDir folder(pictures());
    ASSERT_TRUE(dragAndDrop(w->previewImage(2), {folder.filePath("red.jpg")}));
    waitForLoads();
    EXPECT_EQ(colours(0, 2), "--r");
    ASSERT_TRUE(dragAndDrop(w.get(), {folder.filePath("GREEN.JPG")}));
    waitForLoads();
    EXPECT_EQ(colours(0, 2), "-gg");
    // Only one picture file at a time; the scanned picture takes none.
    QFile notes(folder.filePath("notes.txt"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();
    EXPECT_FALSE(dragAndDrop(w->previewImage(2), {notes.fileName()}));
    EXPECT_FALSE(dragAndDrop(w.get(), {notes.fileName()}));
    EXPECT_FALSE(
        dragAndDrop(w->previewImage(2), {folder.filePath("red.jpg"), folder.filePath("blue.bmp")}));
    EXPECT_FALSE(w->previewImage(19)->acceptDrops());
    waitForLoads();
    EXPECT_EQ(colours(0, 2), "-gg");
}

TEST_F(MainWindowTest, SelectedPreviewAloneGetsTheNextFile) {
    w->SSTab1()->setCurrentIndex(4);
    clickFile("red.jpg");
    clickPreview(14);
    EXPECT_EQ(w->order().selected(), 14);
    EXPECT_TRUE(w->previewImage(14)->isSelected());
    clickFile("GREEN.JPG");
    EXPECT_EQ(colours(10, 18), "rrrrgrrrr");
    // A file click never changes the selection.
    EXPECT_EQ(w->order().selected(), 14);
}

TEST_F(MainWindowTest, TabChangeClearsTheSelection) {
    w->SSTab1()->setCurrentIndex(1);
    clickPreview(2);
    EXPECT_EQ(w->order().selected(), 2);
    w->SSTab1()->setCurrentIndex(2);
    w->SSTab1()->setCurrentIndex(1);
    EXPECT_EQ(w->order().selected(), print::PrintOrder::kNone);
    EXPECT_FALSE(w->previewImage(2)->isSelected());
    clickFile("blue.bmp");
    EXPECT_EQ(colours(1, 2), "bb");
}

TEST_F(MainWindowTest, DoubleClickSelectsToo) {
    QTest::mouseDClick(w->previewImage(7), Qt::LeftButton);
    EXPECT_EQ(w->order().selected(), 7);
}

TEST_F(MainWindowTest, ScanTabWithoutSelectionLoadsNothing) {
    w->SSTab1()->setCurrentIndex(5);
    clickFile("red.jpg");
    EXPECT_EQ(colours(0, 19), "--------------------");
}

TEST_F(MainWindowTest, UnreadableFileKeepsThePreviousPicturesAndSaysWhy) {
    w->show();
    w->SSTab1()->setCurrentIndex(1);
    clickFile("red.jpg");
    QFile bad(QDir(pictures()).filePath("broken.jpg"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("\xff\xd8\xff\xe0 not really a jpeg");
    bad.close();
    w->fileSelect()->setPath(pictures());
    clickFile("broken.jpg");
    EXPECT_EQ(colours(1, 2), "rr");
    EXPECT_TRUE(testpopup::lastMessage(w->popup()).startsWith("broken.jpg could not be read: "));
    ASSERT_TRUE(testpopup::dismiss(w->popup()));
    // A file deleted between the listing and the click changes nothing either.
    QFile::remove(QDir(pictures()).filePath("GREEN.JPG"));
    clickFile("GREEN.JPG");
    EXPECT_EQ(colours(1, 2), "rr");
    EXPECT_TRUE(testpopup::lastMessage(w->popup()).startsWith("GREEN.JPG could not be read: "));
    ASSERT_TRUE(testpopup::dismiss(w->popup()));
}

TEST_F(MainWindowTest, CopiesSpinnerKeepsLabelAndCountEqual) {
    EXPECT_EQ(w->order().copies(), 1);
    QTest::mouseClick(w->VScroll1()->upButton(), Qt::LeftButton);
    QTest::mouseClick(w->VScroll1()->upButton(), Qt::LeftButton);
    QTest::mouseClick(w->VScroll1()->upButton(), Qt::LeftButton);
    EXPECT_EQ(w->NumberOfCopies()->text(), "4");
    EXPECT_EQ(w->order().copies(), 4);
    for (int i = 0; i < 5; ++i)
        QTest::mouseClick(w->VScroll1()->upButton(), Qt::LeftButton);
    EXPECT_EQ(w->order().copies(), 5);
    for (int i = 0; i < 9; ++i)
        QTest::mouseClick(w->VScroll1()->downButton(), Qt::LeftButton);
    EXPECT_EQ(w->order().copies(), 1);
    EXPECT_EQ(w->NumberOfCopies()->text(), "1");
}

TEST_F(MainWindowTest, PrintIsEnabledWhileAnyPackageIsTicked) {
    EXPECT_FALSE(w->cmdPrint()->isEnabled());
    w->check(1)->click();
    EXPECT_TRUE(w->cmdPrint()->isEnabled());
    w->check(4)->click();
    w->check(1)->click();
    EXPECT_TRUE(w->cmdPrint()->isEnabled());
    w->check(4)->click();
    EXPECT_FALSE(w->cmdPrint()->isEnabled());
}

// The preview is the print: the cell's shape, filled as the sheet will be.
TEST_F(MainWindowTest, PreviewShowsThePrintAsTheFillModeMakesIt) {
    // Left half red, right half blue, 3:2 like a camera's.
    QImage halves(3000, 2000, QImage::Format_RGB32);
    halves.fill(Qt::red);
    QPainter(&halves).fillRect(1500, 0, 1500, 2000, Qt::blue);
    ASSERT_TRUE(halves.save(QDir(pictures()).filePath("halves.jpg")));
    w->fileSelect()->setPath(pictures());
    w->fillMode()->setCurrentText("Fit");
    w->turnToFit()->setChecked(false);
    clickFile("halves.jpg");
    PreviewImage* preview = w->previewImage(0);
    auto shown = [&](double x, double y) {
        const QRect area = preview->printArea();
        const QColor c = preview->grab().toImage().pixelColor(area.left() + int(x * area.width()),
                                                              area.top() + int(y * area.height()));
        return c.red() > 200 && c.blue() > 200 ? 'w'
               : c.red() > 200                 ? 'r'
               : c.blue() > 200                ? 'b'
                                               : '?';
    };
    // 8 x 10 inches; fit leaves white above and below the picture.
    EXPECT_NEAR(preview->printArea().width() * 10.0 / preview->printArea().height(), 8, 0.1);
    EXPECT_EQ((std::string{shown(0.25, 0.05), shown(0.25, 0.5), shown(0.75, 0.5)}), "wrb");
    // Crop: the middle 4:5 of the picture fills the print, half red, half blue.
    w->fillMode()->setCurrentText("Crop to fill");
    EXPECT_EQ((std::string{shown(0.25, 0.05), shown(0.75, 0.05)}), "rb");
    // Turned, the left half of the picture lands on top.
    w->turnToFit()->setChecked(true);
    EXPECT_EQ((std::string{shown(0.5, 0.25), shown(0.5, 0.75)}), "rb");
}

TEST_F(MainWindowTest, SoftPrintsCarryABadge) {
    auto amber = [&](int position) {
        PreviewImage* preview = w->previewImage(position);
        const QImage shot = preview->grab().toImage();
        shot.save("/tmp/shot.png");
        const QRect corner(preview->printArea().topLeft(), QSize(30, 20));
        int pixels = 0;
        for (int y = corner.top(); y <= corner.bottom(); ++y)
            for (int x = corner.left(); x <= corner.right(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                pixels += c.red() > 230 && std::abs(c.green() - 176) < 30 && c.blue() < 40;
            }
        return pixels > 20;
    };
    makePicture("large.jpg", Qt::green, 1200, 1600);
    w->fileSelect()->setPath(pictures());
    w->SSTab1()->setCurrentIndex(4);
    clickFile("red.jpg"); // 64 x 48: far too few pixels for a wallet
    EXPECT_TRUE(w->previewImage(10)->looksSoft());
    EXPECT_TRUE(amber(10));
    // Its tip says why, as the scan window states a scan.
    EXPECT_TRUE(w->previewImage(10)->softText().startsWith("64 × 48 pixels: soft ("));
    clickFile("large.jpg");
    EXPECT_FALSE(w->previewImage(10)->looksSoft());
    EXPECT_EQ(w->previewImage(10)->softText(), "");
    EXPECT_FALSE(amber(10));
}

TEST_F(MainWindowTest, ControlsCarryTheirCaptionsAndTips) {
    const char* checks[] = {"8x10", "5x7", "4x6", "3.5x5", "2.5x3.25"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(w->check(i)->text(), '&' + QString(checks[i]));
        EXPECT_EQ(w->check(i)->toolTip(), QString(checks[i]) + " Package");
    }
    EXPECT_EQ(w->cmdPrint()->text(), "P&rint");
    EXPECT_EQ(w->cmdPrint()->toolTip(), "Print covers.");
    EXPECT_EQ(w->NumberOfCopies()->toolTip(), "Number of copies to print.");
    EXPECT_EQ(w->drvSelect()->toolTip(), "Current drive.");
    EXPECT_EQ(w->dirSelect()->toolTip(), "Current directory.");
    EXPECT_EQ(w->fileSelect()->toolTip(), "Available Pictures.");
    const char* tabs[] = {"8x10", "5x7", "4x6", "3.5x5", "2.5x3.25", "Scan"};
    ASSERT_EQ(w->SSTab1()->count(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(w->SSTab1()->tabText(i), tabs[i]);
    EXPECT_EQ(w->previewImage(12)->toolTip(), "2.5x3.25 Picture #3");
    EXPECT_EQ(w->previewImage(19)->toolTip(), "Scanned Picture");
    // Its shape as designed, 2665 x 2685 twips.
    const QSize box = w->previewImage(5)->size();
    EXPECT_NEAR(double(box.width()) / box.height(), 2665.0 / 2685, 0.02);
    for (const char* name : {"Command1", "Command2", "Command3"})
        EXPECT_NE(w->SSTab1()->findChild<QPushButton*>(name), nullptr) << name;
    EXPECT_EQ(w->SSTab1()->findChild<QPushButton*>("Command2")->text(), "&Aquire");
}

TEST_F(MainWindowTest, SaveWaitsForAScannedPicture) {
    QPushButton* save = w->SSTab1()->findChild<QPushButton*>("Command3");
    EXPECT_FALSE(save->isEnabled());
    w->pictures().set(positions::kScanned, QImage(40, 30, QImage::Format_RGB32));
    EXPECT_TRUE(save->isEnabled());
}

TEST_F(MainWindowTest, TheScanShowsInItsOwnShapeCentred) {
    w->show(); // the tab pages lay out their previews once shown
    QImage wide(400, 100, QImage::Format_RGB32);
    wide.fill(Qt::red);
    w->pictures().set(positions::kScanned, wide);
    PreviewImage* preview = w->previewImage(19);
    const QImage shot = preview->grab().toImage(); // lays the page out first
    const QRect area = preview->printArea();
    EXPECT_NEAR(double(area.width()) / area.height(), 4.0, 0.1);
    EXPECT_NEAR(area.center().x(), preview->rect().center().x(), 1);
    EXPECT_NEAR(area.center().y(), preview->rect().center().y(), 1);
    // Above and below the picture the box stays empty.
    EXPECT_EQ(shot.pixelColor(area.center()), QColor(Qt::red));
    EXPECT_NE(shot.pixelColor(area.center().x(), area.top() - 3), QColor(Qt::red));
}

TEST_F(MainWindowTest, MenuAndToolbarSwitchTabsAndClearTheSelection) {
    w->SSTab1()->setCurrentIndex(0);
    clickPreview(0);
    w->menuItem("scan")->trigger();
    EXPECT_EQ(w->SSTab1()->currentIndex(), 5);
    EXPECT_EQ(w->order().selected(), print::PrintOrder::kNone);
    w->toolbarButton(3)->trigger();
    EXPECT_EQ(w->SSTab1()->currentIndex(), 2);
    w->SSTab1()->setCurrentIndex(4);
    clickPreview(11);
    w->menuItem("twobythree")->trigger(); // same tab: still a tab change
    EXPECT_EQ(w->order().selected(), print::PrintOrder::kNone);
}

TEST_F(MainWindowTest, MenuCaptionsInOrder) {
    QStringList captions;
    for (QAction* menu : w->menuBar()->actions()) {
        captions << menu->text();
        for (QAction* item : menu->menu()->actions())
            captions << (item->isSeparator() ? "-" : item->text());
    }
    EXPECT_EQ(captions.join('|'),
              "&File|Print Pre&view|-|E&xit|&Packages|&8x10|&5x7|&4x6|&3.5x5|&2.5x3.25|-|&Scan|"
              "&Utilities|P&rint Pictures|&Choose "
              "Printer...|-|T&onwerk|&Help|&Contents|-|&Quenwick Website|-|"
              "Check For &Updates|-|&About");
}

TEST_F(MainWindowTest, ButtonSevenTipFollowsThePackages) {
    w->show();
    QWidget* bar = w->Toolbar1();
    EXPECT_EQ(w->toolbarButton(7)->toolTip(), "Print Single Picture");
    w->check(1)->click();
    QTest::mouseMove(bar, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(6, 6), bar->mapToGlobal(QPointF(6, 6)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    EXPECT_EQ(w->toolbarButton(7)->toolTip(), "Print Selected Packages");
    w->check(1)->click();
    QApplication::sendEvent(bar, &move);
    EXPECT_EQ(w->toolbarButton(7)->toolTip(), "Print Single Picture");
    const char* tips[] = {"8x10 Package",  "5x7 Package",      "4x6 Package",
                          "3.5x5 Package", "2.5x3.25 Package", "Scan Pictures"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(w->toolbarButton(i + 1)->toolTip(), tips[i]);
    EXPECT_EQ(w->toolbarButton(8)->toolTip(), "Tonwerk");
    EXPECT_EQ(w->toolbarButton(9)->toolTip(), "Help");
    EXPECT_EQ(w->toolbarButton(10)->toolTip(), "Visit Website");
    for (int i = 1; i <= 10; ++i)
        EXPECT_FALSE(w->toolbarButton(i)->icon().isNull()) << i;
}

TEST_F(MainWindowTest, PrintPicturesWithNothingChosenAsksForAPicture) {
    w->show();
    w->printpictures_Click();
    EXPECT_TRUE(testpopup::tellsOnly(w->popup()));
    EXPECT_EQ(testpopup::lastMessage(w->popup()),
              "Please select a picture by clicking on it and try again!");
    EXPECT_FALSE(w->isEnabled());
    ASSERT_TRUE(testpopup::dismiss(w->popup()));
    EXPECT_TRUE(w->isEnabled());
}

TEST_F(MainWindowTest, WebsiteWithoutABrowserSaysWhereToGo) {
    // The offscreen desktop has no browser.
    w->show();
    w->toolbarButton(10)->trigger();
    EXPECT_EQ(testpopup::lastMessage(w->popup()),
              "Open " + QUrl(parvello::kMakerWebsite).toString() + " in your browser");
}

TEST_F(MainWindowTest, PrintPicturesWithASelectedPreviewOpensTheSingleDialog) {
    w->show();
    w->SSTab1()->setCurrentIndex(3);
    clickFile("red.jpg");
    clickPreview(8);
    w->toolbarButton(7)->trigger();
    print::frmPrintSingle* dialog = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<print::frmPrintSingle*>(top); d && d->isVisible())
            dialog = d;
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_FALSE(w->isEnabled());
    dialog->Command2_Click();
    EXPECT_TRUE(w->isEnabled());
}

TEST_F(MainWindowTest, TonwerkWithoutSelectionOnlyTellsTheUser) {
    w->show();
    w->menuItem("tonwerk")->trigger();
    EXPECT_TRUE(w->popup().isLoaded());
    EXPECT_EQ(testpopup::lastMessage(w->popup()),
              "Please select a picture by clicking on it and try again!");
    ASSERT_TRUE(testpopup::dismiss(w->popup()));
}

TEST_F(MainWindowTest, TonwerkEditsTheSelectedPreviewAndAcceptWritesItBack) {
    w->show();
    w->SSTab1()->setCurrentIndex(1);
    clickFile("red.jpg");
    clickPreview(2);
    w->toolbarButton(8)->trigger(); // opens the editor and returns
    QPointer<editor::frmManipulate> editor =
        qobject_cast<editor::frmManipulate*>(QApplication::activeModalWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowModality(), Qt::WindowModal);
    editor->filterCommand_Click("negative"); // runs on a worker: "Accept" waits for it
    ASSERT_TRUE(QTest::qWaitFor([&] { return !editor->isRunning(); }));
    editor->Command5_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor.isNull(); })); // closed and gone
    // Negative of red is cyan; the other 5x7 preview keeps its red.
    const QImage edited = w->pictures().picture(2);
    const QColor c = edited.pixelColor(edited.width() / 2, edited.height() / 2);
    EXPECT_LT(c.red(), 40);
    EXPECT_GT(c.green(), 200);
    EXPECT_GT(c.blue(), 200);
    EXPECT_EQ(colourOf(1), 'r');
}

TEST_F(MainWindowTest, TonwerkCancelWritesNothing) {
    w->show();
    w->SSTab1()->setCurrentIndex(0);
    clickFile("GREEN.JPG");
    clickPreview(0);
    w->menuItem("tonwerk")->trigger();
    QPointer<editor::frmManipulate> editor =
        qobject_cast<editor::frmManipulate*>(QApplication::activeModalWidget());
    ASSERT_NE(editor, nullptr);
    editor->filterCommand_Click("negative");
    editor->Command2_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor.isNull(); }));
    EXPECT_EQ(colourOf(0), 'g');
}

// A tray the test can see; the offscreen platform has none of its own.
class TestTray : public Tray {
  public:
    bool available = true;
    int shown = 0;
    bool isAvailable() const override { return available; }
    void show() override { ++shown; }
    void remove() override { shown = 0; }
    bool isShown() const override { return shown > 0; }
    void doubleClick() { emit restoreRequested(); }
};

TEST_F(MainWindowTest, MinimisingGoesIntoTheTrayAndADoubleClickBringsItBack) {
    auto tray = std::make_unique<TestTray>();
    TestTray* t = tray.get();
    frmcovercreator win(iniPath(), std::move(tray));
    win.show();
    win.setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(win.state().inTray);
    EXPECT_EQ(t->shown, 1);
    EXPECT_FALSE(win.isVisible());
    t->doubleClick();
    EXPECT_FALSE(win.state().inTray);
    EXPECT_FALSE(t->isShown());
    EXPECT_TRUE(win.isVisible());
    EXPECT_FALSE(win.windowState() & Qt::WindowMinimized);
}

TEST_F(MainWindowTest, WithoutATrayMinimisingKeepsAnOrdinaryWindow) {
    auto tray = std::make_unique<TestTray>();
    tray->available = false;
    TestTray* t = tray.get();
    frmcovercreator win(iniPath(), std::move(tray));
    win.show();
    win.setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(win.state().inTray);
    EXPECT_EQ(t->shown, 0);
    EXPECT_TRUE(win.isVisible());
}

} // namespace
