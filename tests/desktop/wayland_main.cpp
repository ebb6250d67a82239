// Test main for the Wayland desktop test: sway headless, the wayland
// platform, settings and caches in a private temporary home.
#include "desktop/sway_desktop.h"

#include "desktop/tools.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // CTest lists the tests while building: that needs no screen.
    const bool listing = ::testing::GTEST_FLAG(list_tests);
    QTemporaryDir home;
    desktoptools::usePrivateHome(home.path());
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
