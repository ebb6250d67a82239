// The "Scan" tab as a user meets it: the scan settings window over the main
// window, and saving the scan by typing a name and pressing Enter.
#include "app/app_fixture.h"
#include "desktop/desktop.h"
#include "notify/frmmsnpopup.h"
#include "pictures/package_pictures.h"
#include "services/sane_test_backend.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

using desktop::User;
using notify::frmmsnpopup;

namespace {

QWidget* shownWindow(const char* objectName) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == objectName && w->isVisible())
            return w;
    return nullptr;
}

// A window is clicked only once the window manager has placed it and given
// it the focus: a click before that goes where the window is not (yet, or
// any more, when the window over it has just gone).
bool activeWindow(const char* objectName) {
    QWidget* w = shownWindow(objectName);
    return w && w->isActiveWindow();
}

class ScanTabOnDesktop : public AppFixture {
  protected:
    // The scan tab's button (the popup, a child of the main window, has its own).
    QPushButton* button(frmcovercreator& main, const char* name) {
        return main.SSTab1()->findChild<QPushButton*>(name);
    }
};

TEST_F(ScanTabOnDesktop, AquireAsksForTheSettingsEscapeKeepsThePictureScanFillsIt) {
    testsupport::SaneTestBackend scanner;
    auto main = open();
    main->show();
    main->SSTab1()->setCurrentIndex(5);
    PackagePictures& pictures = main->pictures();
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.findWindow("Parvello"));
        user.click(button(*main, "Command2"));
        ASSERT_TRUE(user.findWindow("Aquire"));
        ASSERT_TRUE(user.waitUntil([] { return activeWindow("scanSettings"); }));
        user.pressKeys("Escape");
        ASSERT_TRUE(user.waitUntil([] { return !shownWindow("scanSettings"); }));
        EXPECT_TRUE(user.onGui([&] { return pictures.picture(positions::kScanned).isNull(); }));
        EXPECT_FALSE(user.onGui([&] { return main->popup().isLoaded(); }));

        ASSERT_TRUE(user.waitUntil([] { return activeWindow("frmcovercreator"); }));
        user.click(button(*main, "Command2"));
        ASSERT_TRUE(user.waitUntil([] { return activeWindow("scanSettings"); }));
        QPushButton* scan = user.onGui([] {
            QWidget* w = shownWindow("scanSettings");
            auto* resolution = w->findChild<QComboBox*>("resolution");
            resolution->setCurrentIndex(resolution->findData(75.0));
            w->findChild<QDoubleSpinBox*>("areaWidth")->setValue(40);
            w->findChild<QDoubleSpinBox*>("areaHeight")->setValue(30);
            return w->findChild<QPushButton*>("Scan");
        });
        user.click(scan);
        ASSERT_TRUE(
            user.waitUntil([&] { return !pictures.picture(positions::kScanned).isNull(); }));
        EXPECT_EQ(user.onGui([&] { return pictures.picture(positions::kScanned).size(); }),
                  QSize(118, 88));
        EXPECT_EQ(user.onGui([&] { return main->scanStatus()->text(); }),
                  "118 × 88 pixels: too few for a sharp 2.5x3.25 (35 ppi)");
        EXPECT_FALSE(user.onGui([&] { return main->popup().isLoaded(); }));
    });
}

TEST_F(ScanTabOnDesktop, SaveWithANameTypedAndEnterWritesABitmapInThePicturesFolder) {
    // The user's Pictures folder, as the desktop's user-dirs file names it.
    const QString picturesFolder = dir.filePath("Bilder");
    QDir().mkpath(picturesFolder);
    QDir().mkpath(qEnvironmentVariable("XDG_CONFIG_HOME"));
    QFile dirs(qEnvironmentVariable("XDG_CONFIG_HOME") + "/user-dirs.dirs");
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_PICTURES_DIR=\"" + picturesFolder.toUtf8() + "\"\n");
    dirs.close();

    auto main = open();
    main->show();
    main->SSTab1()->setCurrentIndex(5);
    QImage scanned(60, 40, QImage::Format_RGB32);
    scanned.fill(QColor(200, 120, 40));
    main->pictures().set(positions::kScanned, scanned);
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.findWindow("Parvello"));
        user.click(button(*main, "Command3"));
        ASSERT_TRUE(user.waitUntil([] { return activeWindow("saveDialog"); }));
        for (const char* key : {"s", "c", "a", "n", "1", "Return"})
            user.pressKeys(key);
        // Clicked only once it has risen all the way: while it slides up, OK
        // is not yet where the pointer goes.
        ASSERT_TRUE(user.waitUntil(
            [&] { return main->popup().isVisible() && !main->popup().tmrOpen.isActive(); }));
        ASSERT_TRUE(user.isShownOnScreen(&main->popup()));
        EXPECT_EQ(user.onGui([&] { return main->popup().lblAlert->text(); }),
                  "Sucessfully saved file.");
        user.click(main->popup().Command1);
        ASSERT_TRUE(user.waitUntil([&] { return !main->popup().isLoaded(); }));
    });
    QFile saved(picturesFolder + "/scan1.bmp");
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.read(2), QByteArray("BM"));
    QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") + "/user-dirs.dirs");
}

} // namespace
