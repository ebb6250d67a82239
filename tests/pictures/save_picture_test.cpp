// Saving in each written format: the file reads back as that format with the
// picture in it, GIF keeps few colours exactly and reduces photographs well,
// and a failed save never damages the file it would replace.
#include "pictures/save_picture.h"
#include "support/test_pictures.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace pictures;
using namespace testpictures;

class SavePicture : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    // Saved as "Save" does: the format of the name, the table's quality.
    bool save(const QImage& picture, const QString& name) const {
        const PictureFormat* format = formatOf(name);
        return format && savePicture(picture, name, *format, format->quality).ok();
    }
};

TEST_F(SavePicture, LosslessFormatsWriteTheExactPicture) {
    const QImage picture = richPicture(64, 48);
    const struct {
        const char* name;
        const char* format;
    } cases[] = {{"a.png", "png"}, {"b.PNG", "png"},  {"c.bmp", "bmp"},
                 {"d.Dib", "bmp"}, {"e.tif", "tiff"}, {"f.TIFF", "tiff"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(save(picture, path(c.name))) << c.name;
        QByteArray format;
        const QImage back = readWithQt(path(c.name), &format);
        EXPECT_EQ(format, c.format) << c.name;
        ASSERT_EQ(back.size(), picture.size()) << c.name;
        EXPECT_EQ(maxChannelDifference(back, picture), 0) << c.name;
    }
    EXPECT_TRUE(run("file", {"-b", path("e.tif")}).startsWith("TIFF image"));
}

TEST_F(SavePicture, LowerCaseBmpGoesThroughOurBitmapWriterAsUpperCaseDoes) {
    const QImage picture = richPicture(40, 30);
    ASSERT_TRUE(save(picture, path("lower.bmp")));
    ASSERT_TRUE(save(picture, path("UPPER.BMP")));
    // 24 bits, 40 x 3 bytes a row with no padding, after a 54-byte header.
    EXPECT_EQ(fileBytes(path("lower.bmp")), fileBytes(path("UPPER.BMP")));
    EXPECT_EQ(fileBytes(path("lower.bmp")).size(), 54 + 120 * 30);
}

TEST_F(SavePicture, JpegNamesAreSavedAtQuality85) {
    // A smooth picture, so the comparison measures the encoder, not the pattern's edges.
    QImage picture(80, 60, QImage::Format_RGB32);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            picture.setPixel(x, y, qRgb(3 * x, 4 * y, 255 - 2 * x));
    for (const char* name : {"a.jpg", "b.JPEG", "c.jpe", "d.Jfif"}) {
        ASSERT_TRUE(save(picture, path(name))) << name;
        QByteArray format;
        const QImage back = readWithQt(path(name), &format);
        EXPECT_EQ(format, "jpeg") << name;
        ASSERT_EQ(back.size(), picture.size());
        EXPECT_LT(meanChannelDifference(back, picture), 2.0) << name;
        EXPECT_NEAR(jpegQuality(path(name)), 85, 1) << name;
    }
}

TEST_F(SavePicture, GifKeepsTheColoursOfPicturesWithFewColours) {
    for (int colours : {1, 2, 3, 200, 256}) {
        const QImage picture = fewColourPicture(50, 40, colours);
        const QString name = path(QString("few%1.gif").arg(colours));
        ASSERT_TRUE(save(picture, name)) << colours;
        QByteArray format;
        const QImage back = readWithQt(name, &format);
        EXPECT_EQ(format, "gif");
        ASSERT_EQ(back.size(), QSize(50, 40));
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 50; ++x)
                ASSERT_EQ(back.pixel(x, y), fewColourPixel(x, y, colours))
                    << colours << " colours at " << x << "," << y;
    }
}

TEST_F(SavePicture, GifReducesPhotographsToAGoodPalette) {
    // Smooth gradients in all three channels: thousands of colours.
    QImage picture(256, 96, QImage::Format_RGB32);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 256; ++x)
            picture.setPixel(x, y, qRgb(x, (y * 255) / 95, (x + 2 * y) / 2 % 256));
    ASSERT_TRUE(save(picture, path("photo.gif")));
    const QImage back = readWithQt(path("photo.gif"));
    ASSERT_EQ(back.size(), picture.size());
    EXPECT_LT(meanChannelDifference(back, picture), 6.0);
    // Dithering spreads the error; averaged over 8 x 8 blocks the colours stay true.
    const QImage a = back.scaled(32, 12, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage b = picture.scaled(32, 12, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(meanChannelDifference(a, b), 2.0);
}

TEST_F(SavePicture, AFailedSaveLeavesTheOldFileByteForByte) {
    const QString target = path("keep.gif");
    writeBytes(target, "the old picture");
    // Wider than a GIF can be: the writer fails after the file was opened.
    EXPECT_EQ(
        savePicture(QImage(70000, 1, QImage::Format_RGB32), target, *formatOf(target), -1).status,
        ValueOverflow);
    EXPECT_EQ(fileBytes(target), QByteArray("the old picture"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.gif"});

    // A format we only read is not written at all.
    EXPECT_FALSE(save(richPicture(4, 4), path("icon.ico")));
    EXPECT_FALSE(QFile::exists(path("icon.ico")));
}
