// A picture dragged from another program (the file manager) and dropped on a
// print, through the X server's drag and drop (XDND).
#include "app/app_fixture.h"
#include "app/preview_image.h"
#include "desktop/desktop.h"

#include <QProcess>

namespace {

using desktop::User;

class DropFromFileManager : public AppFixture {};

TEST_F(DropFromFileManager, APictureDroppedOnAPrintGoesToItsPosition) {
    const QString red = makePicture("red.jpg", Qt::red);
    writeIniAtPictures("Tab=1\n");
    auto main = open();
    main->show();
    QProcess source;
    source.start(PARVELLO_DRAG_SOURCE, {red});
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.findWindow("Parvello"));
        ASSERT_TRUE(user.waitUntilPlaced(main.get()));
        const auto from = user.findWindow("Drag source");
        ASSERT_TRUE(from);
        const QPoint to = user.onGui([&] {
            PreviewImage* print = main->previewImage(2);
            return print->mapToGlobal(print->rect().center());
        });
        user.drag(from->geometry.center(), to);
        ASSERT_TRUE(user.waitUntil([&] { return main->pictures().name(2) == "red.jpg"; }));
        EXPECT_TRUE(user.onGui([&] { return main->pictures().isEmpty(1); }));
    });
    source.kill();
    source.waitForFinished();
}

} // namespace
