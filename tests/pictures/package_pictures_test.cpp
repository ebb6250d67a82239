// The package pictures load themselves on workers: a file read once gives
// every position it goes to the same screen copy and, once decoded, the same
// full picture; a later load wins; a file that cannot be read, or whose full
// decode fails, leaves the positions showing what they showed, and says why.
#include "pictures/package_pictures.h"
#include "support/test_pictures.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using testpictures::richPicture;

namespace {

void waitForLoads(const PackagePictures& pictures) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pictures.isLoading(); }, 30000));
}

} // namespace

TEST(PackagePicturesLoad, OneFileFillsEveryPositionGivenWithOneScreenCopy) {
    QTemporaryDir dir;
    const QString file = dir.filePath("photo.jpg");
    ASSERT_TRUE(richPicture(2400, 1600).save(file, "JPG", 90));
    PackagePictures pictures;
    pictures.setScreenCopySide(300);
    QSignalSpy changes(&pictures, &PackagePictures::changed);

    pictures.load(file, {4, 5});
    EXPECT_TRUE(pictures.isLoading());
    EXPECT_TRUE(pictures.isEmpty(4)); // the window does not wait for the file
    waitForLoads(pictures);
    EXPECT_EQ(changes.count(), 2);
    EXPECT_TRUE(pictures.isEmpty(3));
    EXPECT_EQ(pictures.name(4), "photo.jpg");
    EXPECT_EQ(pictures.size(4), QSize(2400, 1600)); // known before the full decode ends
    // A screen copy made once, shared, no larger than twice the side asked for.
    EXPECT_EQ(pictures.preview(4).cacheKey(), pictures.preview(5).cacheKey());
    EXPECT_LT(pictures.preview(4).width(), 600);
    EXPECT_EQ(pictures.picture(5).size(), QSize(2400, 1600));
}

TEST(PackagePicturesLoad, ALaterLoadOrPictureWinsOverAnEarlierLoadThatEndsLate) {
    QTemporaryDir dir;
    const QString large = dir.filePath("large.png"), small = dir.filePath("small.png");
    ASSERT_TRUE(richPicture(3000, 2000).save(large)); // a slow PNG, no quick path
    ASSERT_TRUE(richPicture(30, 20).save(small));
    PackagePictures pictures;
    pictures.load(large, {1, 2});
    pictures.load(small, {2});
    pictures.load(large, {7});
    pictures.set(7, richPicture(40, 30));
    waitForLoads(pictures);
    EXPECT_EQ(pictures.size(1), QSize(3000, 2000));
    EXPECT_EQ(pictures.size(2), QSize(30, 20));
    EXPECT_EQ(pictures.size(7), QSize(40, 30));
}

TEST(PackagePicturesLoad, AFileThatCannotBeReadKeepsThePicturesAndSaysWhy) {
    QTemporaryDir dir;
    const QString text = dir.filePath("notes.png");
    testpictures::writeBytes(text, "a shopping list, not a picture\n");
    PackagePictures pictures;
    pictures.set(2, richPicture(40, 30));
    QSignalSpy failed(&pictures, &PackagePictures::loadFailed);
    for (const QString& file : {text, dir.filePath("gone.jpg")}) {
        pictures.load(file, {2});
        ASSERT_TRUE(failed.wait(30000)) << qPrintable(file);
        EXPECT_EQ(failed.last().at(0).toString(), file);
        EXPECT_FALSE(failed.last().at(1).toString().isEmpty());
        waitForLoads(pictures);
        EXPECT_EQ(pictures.size(2), QSize(40, 30));
    }
}

// A HEIC whose thumbnail comes out but whose full picture is damaged:
// the positions show the small one, then get back what they showed.
TEST(PackagePicturesLoad, AFailureOnlyTheFullDecodeFindsGivesBackWhatThePositionsShowed) {
    QTemporaryDir dir;
    const QString png = dir.filePath("photo.png"), heic = dir.filePath("damaged.heic");
    ASSERT_TRUE(richPicture(800, 600).save(png));
    ASSERT_EQ(QProcess::execute("heif-enc", {"-q", "90", "-t", "240", png, "-o", heic}), 0);
    // heif-enc writes the full picture first in the data box, its thumbnail
    // after: the full picture's first unit now claims more than the file holds.
    QByteArray bytes = testpictures::fileBytes(heic);
    const qsizetype data = bytes.indexOf("mdat") + 4;
    ASSERT_GT(data, 4);
    bytes.replace(data, 4, QByteArray("\x7f\xff\xff\xff", 4));
    testpictures::writeBytes(heic, bytes);

    PackagePictures pictures;
    pictures.setScreenCopySide(200);
    pictures.set(3, richPicture(40, 30));
    QSignalSpy failed(&pictures, &PackagePictures::loadFailed);
    QSignalSpy changes(&pictures, &PackagePictures::changed);
    pictures.load(heic, {3});
    ASSERT_TRUE(failed.wait(30000));
    EXPECT_EQ(changes.count(), 2); // the thumbnail shown, then taken back
    EXPECT_EQ(failed.last().at(1).toString(), "the file is damaged");
    EXPECT_EQ(pictures.size(3), QSize(40, 30));
    EXPECT_EQ(pictures.picture(3).size(), QSize(40, 30));
}

// A phone's HEIC carries a thumbnail far smaller than the preview box: it is
// shown at once, enlarged, and the full decode then gives every position the
// same sharp screen copy. The size the "Soft" tag judges is the full one
// from the start.
TEST(PackagePicturesLoad, ASmallThumbnailShowsAtOnceAndTheFullPictureSharpensIt) {
    QTemporaryDir dir;
    const QString png = dir.filePath("photo.png"), heic = dir.filePath("photo.heic");
    ASSERT_EQ(
        QProcess::execute("convert-im6.q16", {"-size", "1600x1200", "gradient:orange-navy", png}),
        0);
    ASSERT_EQ(QProcess::execute("heif-enc", {"-q", "90", "-t", "160", png, "-o", heic}), 0);

    PackagePictures pictures;
    pictures.setScreenCopySide(400);
    struct Change {
        int index;
        QSize preview, size;
        qint64 key;
    };
    std::vector<Change> changes;
    QObject::connect(&pictures, &PackagePictures::changed, [&](int index) {
        changes.push_back({index, pictures.preview(index).size(), pictures.size(index),
                           pictures.preview(index).cacheKey()});
    });
    pictures.load(heic, {2, 6});
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes.size() >= 4; }, 30000));
    QTest::qWait(50); // nothing more comes
    ASSERT_EQ(changes.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(changes[i].index, i % 2 ? 6 : 2);
        EXPECT_EQ(changes[i].size, QSize(1600, 1200));
        EXPECT_EQ(changes[i].preview, i < 2 ? QSize(160, 120) : QSize(400, 300));
        EXPECT_EQ(changes[i].key, changes[i - i % 2].key);
    }
    EXPECT_EQ(pictures.picture(6).size(), QSize(1600, 1200));
}
