// The scanner calls and the "Source" / "Aquire" buttons against SANE's test
// backend: the source list, the picture arriving in Image20, the staging file
// cleaned up, and the message for every way an acquisition can fail.
#include "acquire/scanning.h"
#include "acquire/scantab.h"
#include "notify/frmmsnpopup.h"
#include "services/sane_test_backend.h"
#include "support/popup_answers.h"
#include "test_pictures.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace acquire;
using namespace acquiretest;
using testsupport::SaneTestBackend;
using testsupport::SaneTestConfig;

namespace {

const QString acquireFailed = "Unable to aquire image!";

QPushButton* dialogButton(QWidget* dialog, QDialogButtonBox::StandardButton which) {
    return dialog->findChild<QDialogButtonBox*>()->button(which);
}

QImage previousScan() {
    return richPicture(7, 5);
}

} // namespace

class ScanTab : public ::testing::Test {
  protected:
    notify::frmmsnpopup popup;

    void SetUp() override {
        testpopup::dismiss(popup);
        setSelectedSource(QString());
        QFile::remove(stagingPath());
    }
    void TearDown() override { QDir(stagingPath()).removeRecursively(); }
    QString message() const { return testpopup::lastMessage(popup); }
};

TEST_F(ScanTab, StagingFileLivesInTheUsersCacheFolder) {
    EXPECT_TRUE(stagingPath().endsWith("/parvello/temp.bmp")) << stagingPath().toStdString();
    EXPECT_TRUE(stagingPath().startsWith(qEnvironmentVariable("XDG_CACHE_HOME")));
}

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

TEST_F(ScanTab, AquireShowsTheScanAndRemovesTheStagingFile) {
    SaneTestBackend backend;
    QImage image20 = previousScan();
    scanWhenShown();
    acquireScan(popup, nullptr, image20);
    const QImage reference = backend.scanimage("test:0");
    ASSERT_FALSE(reference.isNull());
    ASSERT_EQ(image20.size(), reference.size());
    EXPECT_EQ(maxChannelDifference(image20, reference), 0);
    EXPECT_FALSE(QFile::exists(stagingPath()));
    EXPECT_EQ(message(), "");
}

TEST_F(ScanTab, AquireUsesTheChosenScanner) {
    SaneTestConfig config;
    config.devices = 2;
    SaneTestBackend backend(config);
    setSelectedSource("test:1");
    QImage image20;
    scanWhenShown();
    acquireScan(popup, nullptr, image20);
    EXPECT_EQ(maxChannelDifference(image20, backend.scanimage("test:1")), 0);
    EXPECT_EQ(message(), "");

    // A chosen scanner that has gone is not silently replaced by another.
    setSelectedSource("test:5");
    image20 = previousScan();
    acquireScan(popup, nullptr, image20);
    EXPECT_EQ(message(), acquireFailed);
    EXPECT_EQ(image20, previousScan());
}

TEST_F(ScanTab, AquireWritesAWindowsBitmapAndReturnsZero) {
    SaneTestBackend backend;
    QTemporaryDir dir;
    const QString target = dir.filePath("scan.bmp");
    scanWhenShown();
    EXPECT_EQ(scanToFile(nullptr, target), ScanOutcome::Ok);
    QByteArray format;
    const QImage written = readWithQt(target, &format);
    EXPECT_EQ(format, "bmp");
    EXPECT_EQ(maxChannelDifference(written, backend.scanimage("test:0")), 0);
    EXPECT_TRUE(run("file", {"-b", target}).startsWith("PC bitmap"));
}

TEST_F(ScanTab, AquireWithoutScannerSaysSoAndKeepsThePicture) {
    SaneTestConfig config;
    config.enabled = false;
    SaneTestBackend backend(config);
    // A staging file left from before is not touched by a failed acquisition.
    writeBytes(stagingPath(), "left over");
    QImage image20 = previousScan();
    acquireScan(popup, nullptr, image20);
    EXPECT_EQ(message(), acquireFailed);
    EXPECT_TRUE(testpopup::tellsOnly(popup));
    EXPECT_EQ(image20, previousScan());
    EXPECT_EQ(fileBytes(stagingPath()), QByteArray("left over"));
    EXPECT_EQ(scanToFile(nullptr, stagingPath()), ScanOutcome::NoScanner);
}

TEST_F(ScanTab, AquireReportsAScannerFault) {
    SaneTestConfig config;
    config.readStatus = "SANE_STATUS_JAMMED";
    SaneTestBackend backend(config);
    QImage image20 = previousScan();
    scanWhenShown();
    acquireScan(popup, nullptr, image20);
    EXPECT_EQ(message(), acquireFailed);
    EXPECT_EQ(image20, previousScan());
    EXPECT_FALSE(QFile::exists(stagingPath()));
}

TEST_F(ScanTab, CancellingARunningScanStopsIt) {
    SaneTestConfig config;
    config.readLimit = true;
    config.readLimitSize = 100;
    config.readDelay = true;
    config.readDelayMicroseconds = 20000;
    config.resolution = 600; // a slow page: well over half a second
    SaneTestBackend backend(config);
    whenShown("scanSettings", [](QWidget* window) {
        setScanSettings(window, 600, QRectF(0, 0, 40, 30));
        QTimer::singleShot(100, window, [window] { press(window, "Cancel"); });
        press(window, "Scan");
    });
    QImage image20 = previousScan();
    QElapsedTimer clock;
    clock.start();
    acquireScan(popup, nullptr, image20);
    EXPECT_LT(clock.elapsed(), 600);
    EXPECT_EQ(message(), acquireFailed);
    EXPECT_EQ(image20, previousScan());
    EXPECT_FALSE(QFile::exists(stagingPath()));
}

TEST_F(ScanTab, AStagingFileThatCannotBeWrittenIsAFailure) {
    SaneTestBackend backend;
    QDir().mkpath(stagingPath()); // a folder where the file should go
    QImage image20 = previousScan();
    scanWhenShown();
    acquireScan(popup, nullptr, image20);
    EXPECT_EQ(message(), acquireFailed);
    EXPECT_EQ(image20, previousScan());
}

TEST_F(ScanTab, AnUnreadableStagingFileLeavesThePictureAndIsRemoved) {
    writeBytes(stagingPath(), "BM but not really a bitmap");
    QImage image20 = previousScan();
    EXPECT_FALSE(loadStagingFile(image20));
    EXPECT_EQ(image20, previousScan());
    EXPECT_FALSE(QFile::exists(stagingPath()));
}

TEST_F(ScanTab, StagingFilesInOtherFormatsAreLoadedToo) {
    ASSERT_TRUE(richPicture(9, 4).save(stagingPath(), "PNG"));
    QImage image20 = previousScan();
    EXPECT_TRUE(loadStagingFile(image20));
    EXPECT_EQ(maxChannelDifference(image20, richPicture(9, 4)), 0);
    EXPECT_FALSE(QFile::exists(stagingPath()));
}
