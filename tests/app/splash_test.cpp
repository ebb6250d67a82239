// The splash window hands over to the main window exactly once.
#include "app/frmsplash.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(Splash, KeyPressShowsTheMainWindowOnceAndTheTimerNeverAgain) {
    int shown = 0;
    auto* splash = new frmSplash([&] { ++shown; });
    splash->show();
    EXPECT_EQ(splash->Label1()->text(), "Version 3.00");
    EXPECT_EQ(splash->Timer1().interval(), 4000);
    QTest::keyClick(splash, Qt::Key_A);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(splash->Timer1().isActive());
    splash->Timer1_Timer();
    EXPECT_EQ(shown, 1);
}

TEST(Splash, TheTimerShowsTheMainWindow) {
    int shown = 0;
    auto* splash = new frmSplash([&] { ++shown; });
    splash->show();
    splash->Timer1().setInterval(10);
    splash->Timer1().start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown == 1; }, 2000));
    QTest::qWait(50);
    EXPECT_EQ(shown, 1);
}

} // namespace
