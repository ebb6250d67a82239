// The alert popup as a user meets it: over the main window, answered with
// the mouse, the keyboard or the window manager.
#include "app/app_fixture.h"
#include "desktop/desktop.h"
#include "notify/frmmsnpopup.h"

#include <QLabel>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

using desktop::User;
using notify::frmmsnpopup;

namespace {

class Popup : public AppFixture {
  protected:
    frmmsnpopup& popup = frmmsnpopup::instance();

    // Risen all the way and on screen.
    bool risen() const { return popup.isVisible() && !popup.tmrOpen.isActive(); }
};

TEST_F(Popup, OkClickedOnScreenClosesItAndGivesTheMainWindowBack) {
    auto main = open();
    main->show();
    QWidget* tonwerk = main->Toolbar1()->widgetForAction(main->toolbarButton(8));
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.findWindow("Parvello"));
        user.click(tonwerk); // no picture selected
        ASSERT_TRUE(user.waitUntil([&] { return risen(); }));
        EXPECT_TRUE(user.isShownOnScreen(&popup));
        EXPECT_EQ(user.onGui([&] { return popup.lblAlert->text(); }),
                  "Please select a picture by clicking on it and try again!");
        EXPECT_FALSE(user.onGui([&] { return main->isEnabled(); }));

        user.click(popup.Command1);
        ASSERT_TRUE(user.waitUntil([&] { return !popup.isLoaded(); }));
        EXPECT_FALSE(user.isShownOnScreen(&popup));
        EXPECT_TRUE(user.onGui([&] { return main->isEnabled(); }));
    });
}

} // namespace
