// The editor opened on a real preview image of the main window, the way the editor command
// does it: the edited picture goes back into the preview only on "Accept".
#include "app/preview_image.h"
#include "editor/frmManipulate.h"
#include "notify/frmmsnpopup.h"
#include "pictures/package_pictures.h"
#include "random_picture.h"

#include <QAction>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <random>

namespace {

// Opens the editor on the preview's picture without waiting, mirrors, then presses `button`;
// writes back on "Accept".
void editPreview(PackagePictures& pictures, PreviewImage& preview, const char* button) {
    const int index = preview.position();
    notify::frmmsnpopup popup;
    QPointer<editor::frmManipulate> f =
        new editor::frmManipulate(popup, pictures.picture(index), &preview);
    f->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(f, &QDialog::finished, &preview, [&pictures, index, f](int result) {
        if (result == QDialog::Accepted)
            pictures.set(index, f->NewImage());
    });
    f->open();
    f->findChild<QToolBar*>("Toolbar1")->actions().at(1)->trigger();
    f->findChild<QPushButton*>(button)->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f; }));
}

TEST(EditorOnPreview, AcceptWritesTheEditedPictureBackAndCancelDoesNot) {
    const QImage picture = randomPicture(30, 20, 1);
    PackagePictures pictures;
    PreviewImage preview(pictures, 3);
    preview.resize(120, 80);
    pictures.set(3, picture);
    preview.show();

    editPreview(pictures, preview, "Command2");
    EXPECT_EQ(pictures.picture(3), picture);

    editPreview(pictures, preview, "Command5");
    const QImage& edited = pictures.picture(3);
    ASSERT_EQ(edited.size(), picture.size());
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(edited.pixel(x, y), picture.pixel(29 - x, y));
}

} // namespace
