// The SANE layer against SANE's test backend, with scanimage (SANE's own
// frontend) scanning the same device as the reference picture.
#include "acquire/sanescanner.h"
#include "services/sane_test_backend.h"
#include "support/test_pictures.h"

#include <gtest/gtest.h>

using namespace acquire;
using namespace testpictures;
using testsupport::SaneTestBackend;
using testsupport::SaneTestConfig;

namespace {

sane::ScanResult scan(const QString& device, bool preferColor = true,
                      const sane::ScanProgress& progress = {}) {
    sane::Session session;
    EXPECT_TRUE(session.ok()) << session.error().toStdString();
    sane::ScanOptions options;
    options.preferColor = preferColor;
    return sane::scanPage(session, device, options, progress);
}

void expectSamePicture(const QImage& ours, const QImage& reference) {
    ASSERT_FALSE(reference.isNull()) << "scanimage failed";
    ASSERT_EQ(ours.size(), reference.size());
    EXPECT_EQ(maxChannelDifference(ours, reference), 0);
}

} // namespace

TEST(SaneLayer, ListsTheConfiguredScanners) {
    SaneTestConfig config;
    config.devices = 3;
    SaneTestBackend backend(config);
    sane::Session session;
    ASSERT_TRUE(session.ok());
    const QVector<sane::Device> devices = session.devices();
    ASSERT_EQ(devices.size(), 3);
    EXPECT_EQ(devices[0].name, "test:0");
    EXPECT_EQ(devices[2].name, "test:2");
    EXPECT_TRUE(devices[0].label().endsWith("(test:0)")) << devices[0].label().toStdString();
}

TEST(SaneLayer, NoBackendMeansNoScanners) {
    SaneTestConfig config;
    config.enabled = false;
    SaneTestBackend backend(config);
    sane::Session session;
    EXPECT_TRUE(session.devices().isEmpty());
}

TEST(SaneLayer, ColourScanMatchesScanimage) {
    SaneTestBackend backend;
    const sane::ScanResult result = scan("test:0");
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    // 40 x 30 mm at 75 dpi: 118 x 88 whole pixels.
    EXPECT_EQ(result.image.size(), QSize(118, 88));
    EXPECT_EQ(result.image.dotsPerMeterX(), 2953); // 75 / 0.0254
    expectSamePicture(result.image, backend.scanimage("test:0"));
}

TEST(SaneLayer, PrefersColourOverTheScannersDefaultMode) {
    SaneTestConfig config;
    config.mode = "Gray";
    SaneTestBackend backend(config);
    const sane::ScanResult colour = scan("test:0", true);
    ASSERT_TRUE(colour.ok());
    expectSamePicture(colour.image, backend.scanimage("test:0", {"--mode", "Color"}));
    const sane::ScanResult grey = scan("test:0", false);
    ASSERT_TRUE(grey.ok());
    expectSamePicture(grey.image, backend.scanimage("test:0"));
}

TEST(SaneLayer, ReadsEverySampleLayoutTheTestScannerOffers) {
    struct Case {
        const char* what;
        SaneTestConfig config;
    };
    std::vector<Case> cases;
    auto add = [&](const char* what, auto change) {
        SaneTestConfig c;
        change(c);
        cases.push_back({what, c});
    };
    add("line art", [](SaneTestConfig& c) {
        c.mode = "Gray";
        c.depth = 1;
        c.picture = "Grid";
    });
    add("16-bit grey", [](SaneTestConfig& c) {
        c.mode = "Gray";
        c.depth = 16;
    });
    add("16-bit colour", [](SaneTestConfig& c) { c.depth = 16; });
    add("three-pass", [](SaneTestConfig& c) { c.threePass = true; });
    add("hand scanner", [](SaneTestConfig& c) {
        c.handScanner = true;
        c.resolution = 20;
    });
    add("short reads", [](SaneTestConfig& c) {
        c.readLimit = true;
        c.readLimitSize = 333;
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SaneTestBackend backend(c.config);
        const sane::ScanResult result = scan("test:0", false);
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        expectSamePicture(result.image, backend.scanimage("test:0"));
    }
}

TEST(SaneLayer, IgnoresThePaddingAtTheEndOfEachLine) {
    // scanimage copies the padding into its output, so the reference is the
    // same scan without padding, cut to the reported width.
    const QImage reference = SaneTestBackend().scanimage("test:0");
    SaneTestConfig config;
    config.pplLoss = 7;
    SaneTestBackend backend(config);
    const sane::ScanResult result = scan("test:0");
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    expectSamePicture(result.image,
                      reference.copy(0, 0, reference.width() - 7, reference.height()));
}

TEST(SaneLayer, ScannerFailuresAreReportedNotScanned) {
    SaneTestConfig config;
    config.readStatus = "SANE_STATUS_JAMMED";
    SaneTestBackend backend(config);
    const sane::ScanResult result = scan("test:0");
    EXPECT_EQ(result.outcome, sane::ScanResult::Outcome::Failed);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_TRUE(result.image.isNull());
}

TEST(SaneLayer, ProgressRisesAndCanCancel) {
    SaneTestConfig config;
    config.readLimit = true;
    config.readLimitSize = 1000;
    SaneTestBackend backend(config);
    std::vector<int> seen;
    const sane::ScanResult whole = scan("test:0", true, [&](int percent) {
        seen.push_back(percent);
        return true;
    });
    ASSERT_TRUE(whole.ok());
    ASSERT_GE(seen.size(), 10u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GE(seen.front(), 0);
    EXPECT_EQ(seen.back(), 100);

    int calls = 0;
    const sane::ScanResult stopped = scan("test:0", true, [&](int) { return ++calls < 3; });
    EXPECT_EQ(stopped.outcome, sane::ScanResult::Outcome::Cancelled);
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(stopped.image.isNull());
}

TEST(SaneLayer, UnknownDevicesDoNotOpen) {
    SaneTestBackend backend;
    const sane::ScanResult result = scan("nosuchbackend:0");
    EXPECT_EQ(result.outcome, sane::ScanResult::Outcome::Failed);
}
