// The scanner chosen with "Source" disappears before "Aquire": the
// acquisition fails with the usual message, in bounded time, and gives no
// picture, so the scan tab keeps the one it showed.
#include "acquire/scanning.h"
#include "acquire/scantab.h"
#include "notify/frmmsnpopup.h"
#include "services/sane_test_backend.h"
#include "support/popup_answers.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
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

class ScannerGone : public ::testing::Test {
  protected:
    notify::frmmsnpopup popup;

    void SetUp() override {
        testpopup::dismiss(popup);
        acquire::setSelectedSource(QString());
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

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(acquire::acquireScan(popup, nullptr), std::nullopt);
    EXPECT_LT(clock.elapsed(), 30000);
    EXPECT_EQ(message(), "Unable to aquire image!");
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

    EXPECT_EQ(acquire::acquireScan(popup, nullptr), std::nullopt);
    EXPECT_EQ(message(), "Unable to aquire image!");
    EXPECT_NE(acquire::scanPicture(nullptr).outcome, acquire::ScanOutcome::Ok);

    // Plugged in again, the same choice scans.
    backend.reset();
    backend = std::make_unique<SaneTestBackend>();
    testpopup::dismiss(popup);
    pressScanWhenShown();
    EXPECT_TRUE(acquire::acquireScan(popup, nullptr).has_value());
    EXPECT_EQ(message(), "");
}
