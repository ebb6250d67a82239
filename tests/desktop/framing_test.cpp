// Framing a print in crop mode, as a person does it: dragging the picture in
// the preview, the wheel, the keys and a double-click; the framing stays
// with its preview across tab changes and goes when a new picture comes.
#include "app/app_fixture.h"
#include "app/file_list.h"
#include "app/preview_image.h"
#include "desktop/desktop.h"

#include <QPainter>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using desktop::User;

namespace {

class Framing : public AppFixture {};

TEST_F(Framing, DragWheelKeysAndDoubleClickFrameThePrintItBelongsTo) {
    // 4500 x 3000 gives the 8x10 a 2400 x 3000 window: 300 pixels an inch,
    // so it may be zoomed in twice before it drops to 150.
    QImage photo(4500, 3000, QImage::Format_RGB32);
    photo.fill(Qt::red);
    QPainter(&photo).fillRect(2250, 0, 2250, 3000, Qt::blue);
    ASSERT_TRUE(photo.save(QDir(pictures()).filePath("photo.jpg")));
    makePicture("other.jpg", Qt::green, 1200, 1600);
    writeIniAtPictures("Tab=0\nFill=crop\nTurnToFit=0\n");
    auto main = open();
    main->show();
    PreviewImage* preview = main->previewImage(0);
    auto load = [&](const QString& file) {
        main->fileSelect()->clearSelection();
        main->fileSelect()->selectFile(file);
        main->fileSelect_Click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !main->pictures().isLoading(); }));
    };
    load("photo.jpg");

    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.findWindow("Parvello"));
        auto framing = [&] { return user.onGui([&] { return main->pictures().framing(0); }); };
        const QRect area = user.onGui([&] {
            return QRect(preview->mapToGlobal(preview->printArea().topLeft()),
                         preview->printArea().size());
        });

        // Dragged right by a quarter of the print: the window moves left by a
        // quarter of its 2400 pixels, from x = 1050 to 450.
        user.drag(area.center(), area.center() + QPoint(area.width() / 4, 0));
        ASSERT_TRUE(user.waitUntil([&] { return main->pictures().framing(0).centreX < 0.5; }));
        EXPECT_NEAR(framing().centreX, (450 + 1200) / 4500.0, 0.01);
        EXPECT_EQ(framing().zoom, 1);

        // Two notches in, then far more: never past 2.
        user.wheel(area.center(), 2);
        ASSERT_TRUE(user.waitUntil([&] { return main->pictures().framing(0).zoom > 1.5; }));
        EXPECT_DOUBLE_EQ(framing().zoom, 1.25 * 1.25);
        user.wheel(area.center(), 6);
        ASSERT_TRUE(user.waitUntil([&] { return main->pictures().framing(0).zoom == 2; }));
        // The keys work on the preview that has the focus: one step out.
        user.pressKeys("minus");
        ASSERT_TRUE(user.waitUntil(
            [&] { return std::abs(main->pictures().framing(0).zoom - 1.6) < 1e-9; }));
        const imaging::Framing framed = framing();

        // Away to the wallets and back: the framing is still there.
        const auto tabAt = [&](int tab) {
            return user.onGui([&] {
                QTabBar* bar = main->SSTab1()->tabBar();
                return bar->mapToGlobal(bar->tabRect(tab).center());
            });
        };
        user.clickAt(tabAt(4));
        ASSERT_TRUE(user.waitUntil([&] { return main->SSTab1()->currentIndex() == 4; }));
        user.clickAt(tabAt(0));
        ASSERT_TRUE(user.waitUntil([&] { return main->SSTab1()->currentIndex() == 0; }));
        EXPECT_EQ(framing(), framed);

        // A double-click puts the window back in the middle, at full size.
        user.doubleClickAt(area.center());
        ASSERT_TRUE(
            user.waitUntil([&] { return main->pictures().framing(0) == imaging::Framing{}; }));

        // A new picture in the preview starts unframed.
        user.drag(area.center(), area.center() + QPoint(area.width() / 4, 0));
        ASSERT_TRUE(user.waitUntil([&] { return main->pictures().framing(0).centreX < 0.5; }));
        user.onGui([&] { load("other.jpg"); });
        EXPECT_EQ(framing(), imaging::Framing{});
    });
}

} // namespace
