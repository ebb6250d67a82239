// The splash window has the main window built while it shows and hands over
// to it exactly once: after a second, or at once on a key or a click.
#include "app/frmsplash.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Main {
    int built = 0;
    int shown = 0;
    frmSplash* splash() {
        return new frmSplash([this] { ++built; }, [this] { ++shown; });
    }
};

TEST(Splash, TheMainWindowIsBuiltWhileItShowsAndShownAfterASecond) {
    Main main;
    frmSplash* splash = main.splash();
    EXPECT_EQ(splash->Label1()->text(), "Version 3.00");
    EXPECT_EQ(splash->Timer1().interval(), 1000);
    EXPECT_FALSE(splash->Timer1().isActive()); // the second counts from the showing
    splash->show();
    EXPECT_TRUE(splash->Timer1().isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.built == 1; }, 5000));
    EXPECT_EQ(main.shown, 0);
    splash->Timer1_Timer(); // the second is over
    EXPECT_EQ(main.shown, 1);
    EXPECT_EQ(main.built, 1);
}

TEST(Splash, AfterTheSecondItWaitsForTheMainWindowToBeBuilt) {
    Main main;
    frmSplash* splash = main.splash();
    splash->Timer1_Timer(); // never painted: the second is over before the build
    EXPECT_EQ(main.built, 1);
    EXPECT_EQ(main.shown, 1);
}

TEST(Splash, AKeyOrAClickShowsTheMainWindowAtOnceAndOnlyOnce) {
    for (bool key : {true, false}) {
        Main main;
        frmSplash* splash = main.splash();
        splash->show();
        if (key)
            QTest::keyClick(splash, Qt::Key_A);
        else
            QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(20, 20));
        EXPECT_EQ(main.shown, 1);
        EXPECT_FALSE(splash->Timer1().isActive());
        splash->Timer1_Timer();
        QTest::qWait(50);
        EXPECT_EQ(main.shown, 1);
        EXPECT_EQ(main.built, 0); // showing builds it, not the splash
    }
}

} // namespace
