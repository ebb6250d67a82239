// The scanner calls and the "Source" / "Aquire" buttons against SANE's test
// backend: the source list, the scanned picture (no file on the way), and the
// message for every way an acquisition can fail.
#include "acquire/scanning.h"
#include "acquire/scantab.h"
#include "notify/frmmsnpopup.h"
#include "services/sane_test_backend.h"
#include "support/popup_answers.h"
#include "support/test_pictures.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace acquire;
using namespace testpictures;
using testsupport::SaneTestBackend;
using testsupport::SaneTestConfig;

namespace {

const QString acquireFailed = "Unable to aquire image!";

QPushButton* dialogButton(QWidget* dialog, QDialogButtonBox::StandardButton which) {
    return dialog->findChild<QDialogButtonBox*>()->button(which);
}

// The files in the user's cache folder, where a scan once went through a file.
QStringList cacheFiles() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return QDir(cache + "/parvello").entryList(QDir::Files | QDir::Hidden);
}

} // namespace

class ScanTab : public ::testing::Test {
  protected:
    notify::frmmsnpopup popup;

    void SetUp() override {
        testpopup::dismiss(popup);
        setSelectedSource(QString());
    }
    QString message() const { return testpopup::lastMessage(popup); }
};

TEST_F(ScanTab, SourceListsTheScannersAndRemembersTheChoice) {
    SaneTestConfig config;
    config.devices = 2;
    SaneTestBackend backend(config);
    QStringList shown;
    whenShown("sourceDialog", [&](QWidget* dialog) {
        auto* list = dialog->findChild<QListWidget*>("sourceList");
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        list->setCurrentRow(1);
        QTest::mouseClick(dialogButton(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    });
    selectSource(nullptr);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].endsWith("(test:0)"));
    EXPECT_TRUE(shown[1].endsWith("(test:1)"));
    EXPECT_EQ(selectedSource(), "test:1");

    // Shown again, the list starts at the choice; cancelling keeps it.
    int current = -1;
    whenShown("sourceDialog", [&](QWidget* dialog) {
        current = dialog->findChild<QListWidget*>("sourceList")->currentRow();
        QTest::mouseClick(dialogButton(dialog, QDialogButtonBox::Cancel), Qt::LeftButton);
    });
    EXPECT_FALSE(chooseScanner(nullptr));
    EXPECT_EQ(current, 1);
    EXPECT_EQ(selectedSource(), "test:1");
}

TEST_F(ScanTab, SourceWithoutScannersSaysSo) {
    SaneTestConfig config;
    config.enabled = false;
    SaneTestBackend backend(config);
    QStringList shown;
    bool selectEnabled = true;
    whenShown("sourceDialog", [&](QWidget* dialog) {
        auto* list = dialog->findChild<QListWidget*>("sourceList");
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        selectEnabled = dialogButton(dialog, QDialogButtonBox::Ok)->isEnabled();
        QTest::mouseClick(dialogButton(dialog, QDialogButtonBox::Cancel), Qt::LeftButton);
    });
    EXPECT_FALSE(chooseScanner(nullptr));
    EXPECT_EQ(shown, QStringList{"No scanner found"});
    EXPECT_FALSE(selectEnabled);
    EXPECT_EQ(selectedSource(), "");
}

TEST_F(ScanTab, AquireGivesTheScannedPictureAndWritesNoFile) {
    SaneTestBackend backend;
    const QStringList cacheBefore = cacheFiles();
    scanWhenShown();
    const std::optional<QImage> scanned = acquireScan(popup, nullptr);
    const QImage reference = backend.scanimage("test:0");
    ASSERT_FALSE(reference.isNull());
    ASSERT_TRUE(scanned.has_value());
    ASSERT_EQ(scanned->size(), reference.size());
    EXPECT_EQ(maxChannelDifference(*scanned, reference), 0);
    EXPECT_EQ(cacheFiles(), cacheBefore);
    EXPECT_EQ(message(), "");
}

TEST_F(ScanTab, AquireUsesTheChosenScanner) {
    SaneTestConfig config;
    config.devices = 2;
    SaneTestBackend backend(config);
    setSelectedSource("test:1");
    scanWhenShown();
    const std::optional<QImage> scanned = acquireScan(popup, nullptr);
    ASSERT_TRUE(scanned.has_value());
    EXPECT_EQ(maxChannelDifference(*scanned, backend.scanimage("test:1")), 0);
    EXPECT_EQ(message(), "");

    // A chosen scanner that has gone is not silently replaced by another.
    setSelectedSource("test:5");
    EXPECT_EQ(acquireScan(popup, nullptr), std::nullopt);
    EXPECT_EQ(message(), acquireFailed);
}

TEST_F(ScanTab, AquireWithoutScannerSaysSo) {
    SaneTestConfig config;
    config.enabled = false;
    SaneTestBackend backend(config);
    EXPECT_EQ(acquireScan(popup, nullptr), std::nullopt);
    EXPECT_EQ(message(), acquireFailed);
    EXPECT_TRUE(testpopup::tellsOnly(popup));
    EXPECT_EQ(scanPicture(nullptr).outcome, ScanOutcome::NoScanner);
}

TEST_F(ScanTab, AquireReportsAScannerFault) {
    SaneTestConfig config;
    config.readStatus = "SANE_STATUS_JAMMED";
    SaneTestBackend backend(config);
    scanWhenShown();
    EXPECT_EQ(acquireScan(popup, nullptr), std::nullopt);
    EXPECT_EQ(message(), acquireFailed);
}

TEST_F(ScanTab, CancellingARunningScanStopsItSilently) {
    SaneTestConfig config;
    config.readLimit = true;
    config.readLimitSize = 100;
    config.readDelay = true;
    config.readDelayMicroseconds = 20000;
    config.resolution = 600; // a slow page: well over half a second
    SaneTestBackend backend(config);
    bool busy = false;
    whenShown("scanSettings", [&busy](QWidget* window) {
        setScanSettings(window, 600, QRectF(0, 0, 40, 30));
        QTimer::singleShot(100, window, [window, &busy] {
            // The window is alive while the scanner is read.
            busy = !window->findChild<QPushButton*>("Scan")->isEnabled();
            press(window, "Cancel");
        });
        press(window, "Scan");
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(acquireScan(popup, nullptr), std::nullopt);
    EXPECT_LT(clock.elapsed(), 600);
    EXPECT_TRUE(busy);
    EXPECT_EQ(message(), "");
}
