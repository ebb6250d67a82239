// The scanner chosen with "Source" disappears before "Aquire": the
// acquisition fails with the usual message, in bounded time, and the picture
// the scan tab showed is kept.
#include "acquire/scanning.h"
#include "acquire/scantab.h"
#include "notify/frmmsnpopup.h"
#include "services/sane_test_backend.h"
#include "support/popup_answers.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using testsupport::SaneTestBackend;
using testsupport::SaneTestConfig;

namespace {

// Picks row `row` of the source list as soon as it shows and presses OK.
void chooseWhenShown(int row) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, row] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "sourceDialog" && w->isVisible()) {
                timer->stop();
                timer->deleteLater();
                w->findChild<QListWidget*>("sourceList")->setCurrentRow(row);
                QTest::mouseClick(w->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                                  Qt::LeftButton);
                return;
            }
    });
    timer->start();
}

// Presses "Scan" in the scan settings window as soon as it shows.
void pressScanWhenShown() {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "scanSettings" && w->isVisible()) {
                timer->stop();
                timer->deleteLater();
                QTest::mouseClick(w->findChild<QPushButton*>("Scan"), Qt::LeftButton);
                return;
            }
    });
    timer->start();
}

QImage shownBefore() {
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(QColor(12, 34, 56));
    return image;
}

class ScannerGone : public ::testing::Test {
  protected:
    notify::frmmsnpopup popup;

    void SetUp() override {
        testpopup::dismiss(popup);
        acquire::setSelectedSource(QString());
        QFile::remove(acquire::stagingPath());
    }
    QString message() const { return testpopup::lastMessage(popup); }
};

} // namespace

TEST_F(ScannerGone, ChosenScannerUnpluggedBeforeAquire) {
    SaneTestConfig two;
    two.devices = 2;
    auto backend = std::make_unique<SaneTestBackend>(two);
    chooseWhenShown(1);
    acquire::selectSource(nullptr);
    ASSERT_EQ(acquire::selectedSource(), "test:1");

    // Only one scanner left: the chosen one went away.
    backend.reset();
    SaneTestConfig one;
    one.devices = 1;
    backend = std::make_unique<SaneTestBackend>(one);

    QImage image20 = shownBefore();
    QElapsedTimer clock;
    clock.start();
    acquire::acquireScan(popup, nullptr, image20);
    EXPECT_LT(clock.elapsed(), 30000);
    EXPECT_EQ(message(), "Unable to aquire image!");
    EXPECT_EQ(image20, shownBefore());
    EXPECT_FALSE(QFile::exists(acquire::stagingPath()));
}

TEST_F(ScannerGone, EveryScannerGoneBeforeAquire) {
    auto backend = std::make_unique<SaneTestBackend>();
    chooseWhenShown(0);
    acquire::selectSource(nullptr);
    ASSERT_EQ(acquire::selectedSource(), "test:0");

    backend.reset();
    SaneTestConfig none;
    none.enabled = false;
    backend = std::make_unique<SaneTestBackend>(none);

    QImage image20 = shownBefore();
    acquire::acquireScan(popup, nullptr, image20);
    EXPECT_EQ(message(), "Unable to aquire image!");
    EXPECT_EQ(image20, shownBefore());
    EXPECT_NE(acquire::scanToFile(nullptr, acquire::stagingPath()), acquire::ScanOutcome::Ok);
    EXPECT_FALSE(QFile::exists(acquire::stagingPath()));

    // Plugged in again, the same choice scans.
    backend.reset();
    backend = std::make_unique<SaneTestBackend>();
    testpopup::dismiss(popup);
    pressScanWhenShown();
    acquire::acquireScan(popup, nullptr, image20);
    EXPECT_NE(image20, shownBefore());
    EXPECT_EQ(message(), "");
}
