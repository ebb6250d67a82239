// The splash window on a desktop with a window manager: a key or a click
// ends it at once.
#include "app/frmsplash.h"
#include "desktop/desktop.h"

#include <QTest>
#include <gtest/gtest.h>

TEST(Splash, AKeyOrAClickShowsTheMainWindowAtOnce) {
    for (bool key : {true, false}) {
        bool mainShown = false;
        auto* splash = new frmSplash({}, [&] { mainShown = true; });
        // Only the user ends it here.
        splash->Timer1().setInterval(60 * 1000);
        splash->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(splash, 15000));
        desktop::asUser([&](desktop::User& user) {
            if (key)
                user.pressKeys("space");
            else
                user.click(splash);
            EXPECT_TRUE(user.waitUntil([&] { return mainShown; }, 2000)) << key;
        });
    }
}
