// The main window on the screen: it fits the work area, its previews grow
// with it, it comes back as it was left, and its previews use every pixel of
// a high-density screen. CTest runs these on the usual screen and again on
// 1366x768 and on 1920x1080 at scale 2 (see CMakeLists.txt).
#include "app/app_fixture.h"
#include "app/preview_image.h"
#include "common/units.h"
#include "desktop/desktop.h"
#include "pictures/positions.h"

#include <QPushButton>
#include <QScreen>

using desktop::User;

namespace {

class MainWindowOnScreen : public AppFixture {
  protected:
    std::unique_ptr<frmcovercreator> shown() {
        auto main = open();
        main->show();
        return main;
    }
    static QRect workArea(QWidget* window) { return window->screen()->availableGeometry(); }
};

TEST_F(MainWindowOnScreen, OpensWhollyInTheWorkArea) {
    writeIniAtPictures("");
    auto main = shown();
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.waitUntilPlaced(main.get()));
        const QRect work = user.onGui([&] { return workArea(main.get()); });
        const QRect frame = user.onGui([&] { return main->frameGeometry(); });
        EXPECT_TRUE(work.contains(frame))
            << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height()
            << " on " << work.width() << "x" << work.height();
        // As designed, 10590 x 8295 twips, wherever the screen holds that.
        const QSize designed(units::toScreenPixels(10590), units::toScreenPixels(8295));
        const QSize size = user.onGui([&] { return main->size(); });
        if (work.height() - frame.height() + size.height() >= designed.height())
            EXPECT_EQ(size, designed);
        else
            EXPECT_EQ(size.width(), designed.width());
    });
}

TEST_F(MainWindowOnScreen, GrowsWithItsPreviewsAndReopensAsItWasLeft) {
    writeIniAtPictures("");
    auto main = shown();
    QRect left;
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.waitUntilPlaced(main.get()));
        // On the GUI thread, as waitUntil asks its condition.
        auto box = [&] { return main->previewImage(0)->geometry(); };
        const QRect before = user.onGui(box);
        const int printWidth = user.onGui([&] { return main->cmdPrint()->width(); });
        // The user makes it larger, as far as the screen allows, and moves it.
        const QRect work = user.onGui([&] { return workArea(main.get()); });
        const QSize wanted = user.onGui([&] {
            return (main->size() + QSize(200, 150)).boundedTo(work.size() - QSize(20, 60));
        });
        user.resize(main.get(), wanted);
        // Wholly on the screen, title bar and all.
        const int minimumHeight = user.onGui([&] { return main->minimumHeight(); });
        user.move(main.get(),
                  QPoint(work.left() + 10,
                         work.bottom() + 1 - std::max(wanted.height(), minimumHeight) - 10));
        ASSERT_TRUE(user.waitUntil([&] { return box().width() > before.width(); }));
        const QRect after = user.onGui(box);
        // The preview keeps its shape; the options column keeps its width.
        EXPECT_NEAR(double(after.width()) / after.height(),
                    double(before.width()) / before.height(), 0.02);
        EXPECT_EQ(user.onGui([&] { return main->cmdPrint()->width(); }), printWidth);
        QThread::msleep(300); // the window manager's last word on the place
        left = user.onGui([&] { return main->geometry(); });
        user.onGui([&] { return main->close(); });
    });
    main = shown();
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.waitUntilPlaced(main.get()));
        EXPECT_EQ(user.onGui([&] { return main->geometry(); }), left);
        user.maximise(main.get());
        ASSERT_TRUE(user.waitUntil([&] { return main->isMaximized(); }));
        user.onGui([&] { return main->close(); });
    });
    main = shown();
    desktop::asUser(
        [&](User& user) { EXPECT_TRUE(user.waitUntil([&] { return main->isMaximized(); })); });
}

// A picture of one-pixel squares, as many as the screen has pixels in the
// scanned picture's box, shows square for square: nothing is painted at a
// lower density and enlarged.
TEST_F(MainWindowOnScreen, PreviewsShowEveryScreenPixel) {
    writeIniAtPictures("Tab=5\n"); // the scanned picture, stretched to its box
    auto main = shown();
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.waitUntilPlaced(main.get()));
        PreviewImage* preview = main->previewImage(positions::kScanned);
        const qreal ratio = user.onGui([&] { return preview->devicePixelRatioF(); });
        const QRect area = user.onGui([&] { return preview->printArea(); });
        const QRect pixels(area.topLeft() * ratio, deviceSize(area.size(), ratio));
        QImage checks(pixels.size(), QImage::Format_RGB32);
        for (int y = 0; y < checks.height(); ++y)
            for (int x = 0; x < checks.width(); ++x)
                checks.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        user.onGui([&] { main->pictures().set(positions::kScanned, checks); });
        const QImage shot = user.onGui([&] { return preview->grab().toImage(); });
        int changes = 0;
        int pairs = 0;
        const QRect inner = pixels.adjusted(2, 2, -3, -3);
        for (int y = inner.top(); y <= inner.bottom(); ++y)
            for (int x = inner.left(); x < inner.right(); ++x, ++pairs)
                changes += shot.pixel(x, y) != shot.pixel(x + 1, y);
        EXPECT_GT(changes, pairs * 9 / 10) << "at a device pixel ratio of " << ratio;
    });
}

} // namespace
