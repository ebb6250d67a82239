// The tray icon that stands for the minimised main window, on an XEmbed tray
// (clicks through the X server) and on a StatusNotifierItem tray (the host's
// click over D-Bus).
#include "app/app_fixture.h"
#include "desktop/desktop.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTabWidget>

using desktop::User;

namespace {

class TrayOnDesktop : public AppFixture {
  protected:
    static QSystemTrayIcon* icon(frmcovercreator& main) {
        return main.tray()->findChild<QSystemTrayIcon*>();
    }

    // Minimises the window and waits until the tray icon stands for it.
    static void minimiseIntoTray(User& user, frmcovercreator& main) {
        ASSERT_TRUE(user.waitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }));
        user.minimise(&main);
        ASSERT_TRUE(user.waitUntil([&] { return !main.isVisible() && icon(main)->isVisible(); }));
        EXPECT_FALSE(user.isShownOnScreen(&main));
    }

    // Where the icon is, once the tray has taken it in: the icon is a little
    // window of its own that the tray embeds a moment after it is shown.
    static QPoint iconCentre(User& user, frmcovercreator& main) {
        QWidget* embedded = nullptr;
        user.waitUntil([&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->inherits("QSystemTrayIconSys") && w->isVisible())
                    embedded = w;
            return embedded != nullptr;
        });
        for (int wait = 0; embedded && !user.isShownOnScreen(embedded) && wait < 100; ++wait)
            QThread::msleep(50);
        return user.onGui([&] { return icon(main)->geometry().center(); });
    }

    // A right-click on the icon, then a click on an item of its menu.
    static void chooseFromMenu(User& user, frmcovercreator& main, const QString& item) {
        QMenu* menu = user.onGui([&] { return icon(main)->contextMenu(); });
        // On a busy machine the tray may still be moving the icon into its
        // place when the first click comes: that click is tried again.
        bool shown = false;
        for (int attempt = 0; attempt < 5 && !shown; ++attempt) {
            user.clickAt(iconCentre(user, main), 3);
            shown = user.waitUntil([&] { return menu->isVisible(); }, 2000);
        }
        ASSERT_TRUE(shown);
        // Clicked only once the X server shows it where Qt placed it.
        for (int wait = 0; wait < 100 && !user.isShownOnScreen(menu); ++wait)
            QThread::msleep(50);
        user.clickAt(user.onGui([&] {
            for (QAction* action : menu->actions())
                if (action->text() == item)
                    return menu->mapToGlobal(menu->actionGeometry(action).center());
            return QPoint();
        }));
    }

    static bool backOnScreen(User& user, frmcovercreator& main) {
        if (!user.waitUntil([&] { return main.isVisible() && !icon(main)->isVisible(); }) ||
            !user.waitUntil([&] { return !main.state().inTray; }))
            return false;
        // The window manager maps it a moment later.
        for (int wait = 0; wait < 100; ++wait, QThread::msleep(50))
            if (user.isShownOnScreen(&main))
                return true;
        return false;
    }
};

TEST_F(TrayOnDesktop, OnAnXEmbedTrayADoubleClickOrRestoreBringsTheWindowBack) {
    desktop::TrayHost tray;
    ASSERT_TRUE(tray.started());
    auto main = open();
    main->show();
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.findWindow("Parvello"));
        minimiseIntoTray(user, *main);
        user.clickAt(iconCentre(user, *main));
        QThread::msleep(500);
        EXPECT_FALSE(user.onGui([&] { return main->isVisible(); })) << "a single click restored";
        user.doubleClickAt(iconCentre(user, *main));
        EXPECT_TRUE(backOnScreen(user, *main));

        minimiseIntoTray(user, *main);
        chooseFromMenu(user, *main, "Restore");
        EXPECT_TRUE(backOnScreen(user, *main));
    });
}

TEST_F(TrayOnDesktop, ExitInTheMenuWritesTheSettingsAndEndsTheProgram) {
    desktop::TrayHost tray;
    ASSERT_TRUE(tray.started());
    writeIniAtPictures("Tab=0\nCopies=1\n");
    auto main = open();
    main->show();
    main->SSTab1()->setCurrentIndex(3);
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.findWindow("Parvello"));
        minimiseIntoTray(user, *main);
        chooseFromMenu(user, *main, "Exit");
        EXPECT_TRUE(user.waitUntil([&] { return !icon(*main)->isVisible(); }));
        EXPECT_FALSE(user.findWindow("Parvello", 500));
    });
    QFile ini(iniPath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("\nTab=3\n"));
}

TEST_F(TrayOnDesktop, OnAStatusNotifierTrayOneClickBringsTheWindowBack) {
    desktop::StatusNotifierTray tray;
    ASSERT_TRUE(tray.started());
    auto main = open();
    main->show();
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.findWindow("Parvello"));
        minimiseIntoTray(user, *main);
        ASSERT_TRUE(user.waitUntil([&] { return !tray.items().isEmpty(); }));
        ASSERT_TRUE(tray.click(tray.items().first()));
        EXPECT_TRUE(backOnScreen(user, *main));
    });
}

} // namespace
