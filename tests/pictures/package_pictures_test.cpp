// The package pictures load themselves: a file read once gives every
// position it goes to the same screen copy and, once decoded, the same full
// picture; a file that cannot be read changes nothing.
#include "pictures/package_pictures.h"
#include "support/test_pictures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using testpictures::richPicture;

TEST(PackagePicturesLoad, OneFileFillsEveryPositionGivenWithOneScreenCopy) {
    QTemporaryDir dir;
    const QString file = dir.filePath("photo.jpg");
    ASSERT_TRUE(richPicture(2400, 1600).save(file, "JPG", 90));
    PackagePictures pictures;
    pictures.setScreenCopySide(300);
    int changes = 0;
    QObject::connect(&pictures, &PackagePictures::changed, [&changes] { ++changes; });

    ASSERT_TRUE(pictures.load(file, {4, 5}));
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(pictures.isEmpty(3));
    EXPECT_EQ(pictures.size(4), QSize(2400, 1600)); // known before the full decode ends
    // A screen copy made once, shared, no larger than twice the side asked for.
    EXPECT_EQ(pictures.preview(4).cacheKey(), pictures.preview(5).cacheKey());
    EXPECT_LT(pictures.preview(4).width(), 600);
    EXPECT_EQ(pictures.picture(5).size(), QSize(2400, 1600));
}

TEST(PackagePicturesLoad, AFileThatCannotBeReadKeepsThePicturesAndSaysWhy) {
    QTemporaryDir dir;
    const QString file = dir.filePath("broken.jpg");
    testpictures::writeBytes(file, QByteArray("\xff\xd8\xff\xe0 not a picture"));
    PackagePictures pictures;
    pictures.set(2, richPicture(40, 30));
    QString error;
    EXPECT_FALSE(pictures.load(file, {2}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(pictures.size(2), QSize(40, 30));
    EXPECT_FALSE(pictures.load(dir.filePath("gone.jpg"), {2}, &error));
    EXPECT_EQ(pictures.size(2), QSize(40, 30));
}
