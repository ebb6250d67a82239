// The editor opened on a real preview image of the main window, the way the editor command
// does it: the edited picture goes back into the preview only on "Accept".
#include "app/preview_image.h"
#include "editor/frmManipulate.h"
#include "random_picture.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

#include <random>

namespace {

// Opens the editor on the preview, mirrors, then presses `button`; writes back on "Accept".
void editPreview(PreviewImage& preview, const char* button) {
    editor::frmManipulate f(preview.picture(), &preview);
    QTimer::singleShot(0, &f, [&] {
        f.findChild<QToolBar*>("Toolbar1")->actions().at(1)->trigger();
        f.findChild<QPushButton*>(button)->click();
    });
    f.exec();
    if (f.accepted())
        preview.setPicture(f.NewImage());
}

TEST(EditorOnPreview, AcceptWritesTheEditedPictureBackAndCancelDoesNot) {
    const QImage picture = randomPicture(30, 20, 1);
    PreviewImage preview(4);
    preview.resize(120, 80);
    preview.setPicture(picture);
    preview.show();

    editPreview(preview, "Command2");
    EXPECT_EQ(preview.picture(), picture);

    editPreview(preview, "Command5");
    ASSERT_EQ(preview.picture().size(), picture.size());
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(preview.picture().pixel(x, y), picture.pixel(29 - x, y));
}

} // namespace
