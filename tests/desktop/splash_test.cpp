// The splash window on a desktop with a window manager.
#include "app/frmsplash.h"
#include "desktop/desktop.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

TEST(Splash, AKeyShowsTheMainWindowAtOnce) {
    bool mainShown = false;
    auto* splash = new frmSplash([&] { mainShown = true; });
    splash->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(splash, 15000));
    QElapsedTimer clock;
    clock.start();
    desktop::asUser([&](desktop::User& user) {
        user.pressKeys("space");
        EXPECT_TRUE(user.waitUntil([&] { return mainShown; }, 2000));
    });
    EXPECT_LT(clock.elapsed(), frmSplash::ShowMilliseconds - 1000);
}
