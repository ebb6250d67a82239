// The whole way from a file to a printed single picture with the keyboard
// alone, through the X server: not one mouse event.
#include "app/app_fixture.h"
#include "app/file_list.h"
#include "app/preview_image.h"
#include "desktop/desktop.h"
#include "editor/frmManipulate.h"
#include "notify/frmmsnpopup.h"
#include "print/frmPrintSingle.h"
#include "print/printer_choice.h"
#include "services/cups_server.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

using desktop::User;

namespace {

class Keyboard : public AppFixture {
  protected:
    testsvc::CupsServer cups;
    testsvc::FolderPrinter printer;

    void SetUp() override {
        QString error;
        ASSERT_TRUE(cups.start(&error)) << error.toStdString();
        ASSERT_TRUE(cups.addPrinter(printer, true, &error)) << error.toStdString();
        print::setChosenPrinter({}); // an earlier test's choice would win over the default
    }

    // Tab until `widget` has the focus (a few presses at most).
    static bool tabTo(User& user, QWidget* widget) {
        for (int presses = 0; presses < 12; ++presses) {
            if (user.waitUntil([&] { return widget->hasFocus(); }, 300))
                return true;
            user.pressKeys("Tab");
        }
        return false;
    }

    template <typename Window> static Window* shown() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<Window*>(w); window && window->isVisible())
                return window;
        return nullptr;
    }
};

TEST_F(Keyboard, FileToPreviewToTonwerkToSinglePrint) {
    // Large enough for a sharp 4x6, so the print question is the plain one.
    makePicture("coffee.jpg", Qt::red, 1200, 1800);
    writeIniAtPictures("Tab=2\n"); // the 4x6 tab: one print above two
    auto main = open();
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get(), 15000));
    notify::frmmsnpopup& popup = main->popup();
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.findWindow("Parvello"));
        user.activate(main.get());

        // Into the file list, Return on its file: the tab's previews get it.
        ASSERT_TRUE(tabTo(user, main->fileSelect()));
        user.pressKeys("Return");
        ASSERT_TRUE(user.waitUntil([&] { return !main->pictures().isEmpty(4); }));
        EXPECT_EQ(user.onGui([&] { return main->previewImage(4)->accessibleName(); }),
                  "4x6 print 2 of 3: coffee.jpg");

        // On to the upper print, down to the lower left one, Space selects it.
        ASSERT_TRUE(tabTo(user, main->previewImage(3)));
        user.pressKeys("Down");
        ASSERT_TRUE(user.waitUntil([&] { return main->previewImage(4)->hasFocus(); }));
        user.pressKeys("space");
        ASSERT_TRUE(user.waitUntil([&] { return main->order().selected() == 4; }));

        // Utilities > Tonwerk, Colors > Negative, Accept.
        user.pressKeys("alt+u");
        user.pressKeys("o");
        ASSERT_TRUE(user.findWindow("Tonwerk"));
        ASSERT_TRUE(user.waitUntil([&] { return shown<editor::frmManipulate>() != nullptr; }));
        user.pressKeys("alt+c");
        user.pressKeys("n");
        ASSERT_TRUE(user.waitUntil([&] {
            const QImage edited = shown<editor::frmManipulate>()->NewImage();
            return qRed(edited.pixel(edited.width() / 2, edited.height() / 2)) < 60;
        }));
        user.pressKeys("alt+a");
        ASSERT_TRUE(user.waitUntil([&] { return shown<editor::frmManipulate>() == nullptr; }));
        const QImage negative = user.onGui([&] { return main->pictures().picture(4); });
        EXPECT_LT(qRed(negative.pixel(negative.width() / 2, negative.height() / 2)), 60);
        EXPECT_EQ(user.onGui([&] { return main->previewImage(4)->accessibleName(); }),
                  "4x6 print 2 of 3: coffee.jpg");

        // Utilities > Print Pictures: the single print; Tab to its "Print", Return.
        user.pressKeys("alt+u");
        user.pressKeys("r");
        ASSERT_TRUE(user.findWindow("Print Single Picture"));
        ASSERT_TRUE(user.waitUntil([&] { return shown<print::frmPrintSingle>() != nullptr; }));
        print::frmPrintSingle* single = user.onGui([&] { return shown<print::frmPrintSingle>(); });
        ASSERT_TRUE(tabTo(user, single->Command1));
        user.pressKeys("Return");

        // The question: its "Print" by Tab and Space (the popup's buttons
        // take Space; Return is the popup's own matter).
        ASSERT_TRUE(user.waitUntil([&] {
            return popup.isVisible() && !popup.tmrOpen.isActive() && popup.Command2->isVisible();
        }));
        ASSERT_TRUE(tabTo(user, popup.Command2));
        user.pressKeys("space");
        EXPECT_TRUE(cups.waitForJobs(printer.name, 1));
        user.onGui([&] { main->close(); });
    });
}

} // namespace
