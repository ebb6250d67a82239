// The scan settings window "Aquire" shows, against SANE's test scanner:
// what it offers, the picture the chosen settings give, the preview and the
// dragged area, the memory per scanner, and cancelling.
#include "acquire/area_picker.h"
#include "acquire/scanning.h"
#include "acquire/scantab.h"
#include "notify/frmmsnpopup.h"
#include "services/sane_test_backend.h"
#include "support/popup_answers.h"
#include "support/test_pictures.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace acquire;
using namespace testpictures;
using testsupport::SaneTestBackend;
using testsupport::SaneTestConfig;

namespace {

QStringList items(QComboBox* box) {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

struct Shown {
    QString resolution;
    QString mode;
    QRectF area;
};

Shown shownIn(QWidget* window) {
    auto value = [window](const char* name) {
        return window->findChild<QDoubleSpinBox*>(name)->value();
    };
    return {window->findChild<QComboBox*>("resolution")->currentText(),
            window->findChild<QComboBox*>("mode")->currentText(),
            QRectF(value("areaLeft"), value("areaTop"), value("areaWidth"), value("areaHeight"))};
}

bool isGrey(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p))
                return false;
        }
    return true;
}

} // namespace

class ScanWindowTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString settings() const { return dir.filePath("parvello.ini"); }

    notify::frmmsnpopup popup;

    void SetUp() override { testpopup::dismiss(popup); }
    QString message() const { return testpopup::lastMessage(popup); }
};

TEST_F(ScanWindowTest, OffersWhatTheScannerOffersAndCancelKeepsThePicture) {
    SaneTestConfig config;
    config.resolutionMax = 600;
    SaneTestBackend backend(config);
    QStringList modes, resolutions;
    Shown shown;
    whenShown("scanSettings", [&](QWidget* window) {
        modes = items(window->findChild<QComboBox*>("mode"));
        resolutions = items(window->findChild<QComboBox*>("resolution"));
        shown = shownIn(window);
        press(window, "Cancel");
    });
    EXPECT_EQ(acquireScan(popup, nullptr, settings()), std::nullopt);
    EXPECT_EQ(modes, QStringList({"Gray", "Color"}));
    EXPECT_EQ(resolutions.front(), "50 dpi"); // nothing coarser than a photo can use
    EXPECT_EQ(resolutions.back(), "600 dpi");
    EXPECT_TRUE(resolutions.contains("150 dpi"));
    EXPECT_EQ(shown.resolution, "300 dpi");
    EXPECT_EQ(shown.mode, "Color");
    EXPECT_EQ(shown.area, QRectF(0, 0, 300, 300)); // the whole glass
    EXPECT_EQ(message(), "");
}

TEST_F(ScanWindowTest, AnAreaOf50By30MillimetresAt300DpiIs591By354Pixels) {
    SaneTestBackend backend;
    QString accepted, size;
    whenShown("scanSettings", [&](QWidget* window) {
        setScanSettings(window, 300, QRectF(10, 5, 50, 30));
        accepted = window->findChild<QLabel*>("accepted")->text();
        size = window->findChild<QLabel*>("sizeLine")->text();
        press(window, "Scan");
    });
    const QImage image20 = acquireScan(popup, nullptr, settings()).value_or(QImage());
    ASSERT_FALSE(image20.isNull()) << message().toStdString();
    // 50 / 25.4 * 300 = 590.6, 30 / 25.4 * 300 = 354.3: the scanner rounds its own way.
    EXPECT_NEAR(image20.width(), 591, 1);
    EXPECT_NEAR(image20.height(), 354, 1);
    EXPECT_EQ(image20.dotsPerMeterX(), 11811); // 300 dpi
    const QImage reference = backend.scanimage(
        "test:0", {"--resolution", "300", "-l", "10", "-t", "5", "-x", "50", "-y", "30"});
    EXPECT_EQ(maxChannelDifference(image20, reference), 0);
    EXPECT_TRUE(accepted.contains("300 dpi")) << accepted.toStdString();
    EXPECT_TRUE(accepted.contains("50.0 × 30.0 mm from 10.0, 5.0 mm")) << accepted.toStdString();
    // About 354 / 2.5 = 141 pixels an inch for a wallet.
    EXPECT_TRUE(size.startsWith(QString("%1 × %2 pixels: too few for a sharp 2.5x3.25 (14")
                                    .arg(image20.width())
                                    .arg(image20.height())))
        << size.toStdString();
}

TEST_F(ScanWindowTest, GreyModeGivesAGreyPicture) {
    SaneTestBackend backend;
    whenShown("scanSettings", [](QWidget* window) {
        window->findChild<QComboBox*>("mode")->setCurrentText("Gray");
        setScanSettings(window, 75, QRectF(0, 0, 40, 30));
        press(window, "Scan");
    });
    const QImage image20 = acquireScan(popup, nullptr, settings()).value_or(QImage());
    ASSERT_EQ(image20.size(), QSize(118, 88));
    EXPECT_TRUE(isGrey(image20));
    EXPECT_FALSE(isGrey(backend.scanimage("test:0"))); // the same pattern in colour
}

TEST_F(ScanWindowTest, EachScannersSettingsAreOfferedAgainAfterARestart) {
    SaneTestConfig two;
    two.devices = 2;
    SaneTestBackend backend(two);
    setSelectedSource("test:1");
    whenShown("scanSettings", [](QWidget* window) {
        window->findChild<QComboBox*>("mode")->setCurrentText("Gray");
        setScanSettings(window, 150, QRectF(10, 5, 20, 15));
        press(window, "Scan");
    });
    ASSERT_TRUE(acquireScan(popup, nullptr, settings()).has_value());
    ASSERT_EQ(message(), "");

    // Another run of the program reads the same settings file.
    Shown again, other;
    whenShown("scanSettings", [&](QWidget* window) {
        again = shownIn(window);
        press(window, "Cancel");
    });
    acquireScan(popup, nullptr, settings());
    setSelectedSource("test:0");
    whenShown("scanSettings", [&](QWidget* window) {
        other = shownIn(window);
        press(window, "Cancel");
    });
    acquireScan(popup, nullptr, settings());
    setSelectedSource(QString());
    EXPECT_EQ(again.resolution, "150 dpi");
    EXPECT_EQ(again.mode, "Gray");
    EXPECT_EQ(again.area, QRectF(10, 5, 20, 15));
    EXPECT_EQ(other.resolution, "300 dpi");
    EXPECT_EQ(other.mode, "Color");
}

TEST_F(ScanWindowTest, ThePreviewShowsTheGlassAndADraggedRectangleIsTheArea) {
    SaneTestBackend backend;
    QSize previewSize;
    Shown dragged;
    QString accepted;
    whenShown("scanSettings", [&](QWidget* window) {
        press(window, "Preview");
        auto* picker = window->findChild<AreaPicker*>("areaPicker");
        // The preview arrives from the worker that reads the scanner.
        ASSERT_TRUE(QTest::qWaitFor([picker] { return !picker->preview().isNull(); }, 20000));
        previewSize = picker->preview().size();
        const QPoint from = picker->toWidget({20.3, 10.6}).toPoint();
        const QPoint to = picker->toWidget({120.2, 80.4}).toPoint();
        QTest::mousePress(picker, Qt::LeftButton, {}, from);
        QTest::mouseMove(picker, to);
        QTest::mouseRelease(picker, Qt::LeftButton, {}, to);
        dragged = shownIn(window);
        accepted = window->findChild<QLabel*>("accepted")->text();
        press(window, "Cancel");
    });
    acquireScan(popup, nullptr, settings());
    // The whole 300 mm glass at 75 dpi.
    EXPECT_NEAR(previewSize.width(), 886, 1);
    EXPECT_NEAR(previewSize.height(), 886, 1);
    // The spin boxes follow the rectangle to the screen's precision (a
    // pixel is under a millimetre here); the scanner takes whole millimetres.
    EXPECT_NEAR(dragged.area.left(), 20.3, 1);
    EXPECT_NEAR(dragged.area.top(), 10.6, 1);
    EXPECT_NEAR(dragged.area.right(), 120.2, 1);
    EXPECT_NEAR(dragged.area.bottom(), 80.4, 1);
    const QRectF whole(QPointF(qRound(dragged.area.left()), qRound(dragged.area.top())),
                       QPointF(qRound(dragged.area.right()), qRound(dragged.area.bottom())));
    EXPECT_TRUE(accepted.contains(
        QString("%1 × %2 mm").arg(whole.width(), 0, 'f', 1).arg(whole.height(), 0, 'f', 1)))
        << accepted.toStdString();
}
