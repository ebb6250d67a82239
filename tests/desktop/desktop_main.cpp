// Test main for the desktop tests: a private X server with a window manager,
// the xcb platform, settings and caches in a private temporary home.
#include "desktop/desktop.h"

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
    qunsetenv("WAYLAND_DISPLAY");
    if (listing) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
        QString error;
        if (!desktop::startDesktop(&error)) {
            std::fprintf(stderr, "No desktop for the tests: %s\n", qPrintable(error));
            return 1;
        }
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    int result = 0;
    {
        QApplication app(argc, argv);
        if (!listing && !desktop::windowManagerReady()) {
            std::fprintf(stderr, "No desktop for the tests: the window manager manages nothing\n");
            result = 1;
        } else {
            result = RUN_ALL_TESTS();
        }
    }
    desktop::stopDesktop();
    return result;
}
