// Test main for the Wayland desktop test: sway headless, the wayland
// platform, settings and caches in a private temporary home.
#include "desktop/sway_desktop.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // CTest lists the tests while building: that needs no screen.
    const bool listing = ::testing::GTEST_FLAG(list_tests);
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    qunsetenv("DISPLAY");
    if (listing) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
        QString error;
        if (!sway::startDesktop(&error)) {
            std::fprintf(stderr, "No Wayland desktop for the tests: %s\n", qPrintable(error));
            return 1;
        }
        qputenv("QT_QPA_PLATFORM", "wayland");
    }
    int result = 0;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    sway::stopDesktop();
    return result;
}
