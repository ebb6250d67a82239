// The picture saver: its encoder table, extension rules, status messages, and
// real files from every encoder read back by independent readers.
#include "acquire/gdiplus.h"
#include "test_pictures.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace acquire;
using namespace acquiretest;

TEST(cGdiPlusTable, ListsTheStandardEncodersAndTheirExtensions) {
    cGdiPlus saver;
    EXPECT_NE(saver.startupToken(), 0u);
    ASSERT_EQ(saver.encoderCount(), 5);

    const struct {
        const char* id;
        QStringList patterns;
    } encoders[] = {
        {"{557CF400-1A04-11D3-9A73-0000F81EF32E}", {"*.BMP", "*.DIB", "*.RLE"}},
        {"{557CF401-1A04-11D3-9A73-0000F81EF32E}", {"*.JPG", "*.JPEG", "*.JPE", "*.JFIF"}},
        {"{557CF402-1A04-11D3-9A73-0000F81EF32E}", {"*.GIF"}},
        {"{557CF405-1A04-11D3-9A73-0000F81EF32E}", {"*.TIF", "*.TIFF"}},
        {"{557CF406-1A04-11D3-9A73-0000F81EF32E}", {"*.PNG"}},
    };
    for (const auto& e : encoders) {
        for (const QString& pattern : e.patterns) {
            const int index = saver.EncoderIndex(pattern);
            ASSERT_GE(index, 0) << pattern.toStdString();
            EXPECT_EQ(saver.encoderId(index), QUuid::fromString(QString(e.id)));
            // Letter case does not matter.
            EXPECT_EQ(saver.EncoderIndex(pattern.toLower()), index);
            EXPECT_EQ(saver.EncoderIndex(pattern.left(3) + pattern.mid(3).toLower()), index);
        }
    }
    EXPECT_EQ(saver.EncoderIndex("*.WMF"), -1);
    EXPECT_EQ(saver.EncoderIndex("*."), -1);
    EXPECT_EQ(saver.EncoderIndex("BMP"), -1);
}

TEST(cGdiPlusTable, AddExtensionsKeepsInnerPiecesAsTheyAreAndTrimsTheLast) {
    cGdiPlus saver;
    saver.AddExtensions(" *.AAA;*.BBB ; *.ccc  ", ";", 7);
    EXPECT_EQ(saver.EncoderIndex(" *.AAA"), 7);
    EXPECT_EQ(saver.EncoderIndex("*.AAA"), -1);
    EXPECT_EQ(saver.EncoderIndex("*.BBB "), 7);
    EXPECT_EQ(saver.EncoderIndex("*.BBB"), -1);
    EXPECT_EQ(saver.EncoderIndex("*.CCC"), 7);

    saver.AddExtensions("*.XX;", ";", 8); // nothing after the last separator
    EXPECT_EQ(saver.EncoderIndex("*.XX"), 8);
    EXPECT_EQ(saver.EncoderIndex(""), -1);

    saver.AddExtensions("*.ONE|*.TWO", "|", 9);
    EXPECT_EQ(saver.EncoderIndex("*.one"), 9);
    EXPECT_EQ(saver.EncoderIndex("*.two"), 9);
}

TEST(cGdiPlusTable, FileExtensionIsTheTextAfterTheLastDotOfTheFileName) {
    EXPECT_EQ(cGdiPlus::FileExtension("/home/anna/scan.jpg"), "jpg");
    EXPECT_EQ(cGdiPlus::FileExtension("/home/anna/scan.tar.TIFF"), "TIFF");
    EXPECT_EQ(cGdiPlus::FileExtension("/home/anna/scan.BMP"), "BMP");
    EXPECT_EQ(cGdiPlus::FileExtension("/home/anna/my.pictures/scan"), "");
    EXPECT_EQ(cGdiPlus::FileExtension("/home/anna/scan"), "");
    EXPECT_EQ(cGdiPlus::FileExtension("/home/anna/scan."), "");
    EXPECT_EQ(cGdiPlus::FileExtension("scan.png"), "png");
    EXPECT_EQ(cGdiPlus::FileExtension(""), "");
}

// The messages of real failures are checked where the saves fail, below.
TEST(cGdiPlusTable, StatusesOutsideTheTableReadAsUnknown) {
    EXPECT_EQ(cGdiPlus::GdiErrorString(21), "Unknown GDI+ Error");
    EXPECT_EQ(cGdiPlus::GdiErrorString(0), "Unknown GDI+ Error");
    EXPECT_EQ(cGdiPlus::GdiErrorString(-1), "Unknown GDI+ Error");
}

TEST(cGdiPlusTable, GuidsAndWideStrings) {
    EXPECT_EQ(cGdiPlus::GuidFromString("{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}"),
              QUuid(0x1D5BE4B5, 0xFA4A, 0x452D, 0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB));
    EXPECT_TRUE(cGdiPlus::GuidFromString("not a guid").isNull());
    EXPECT_EQ(cGdiPlus::PtrToString(u"*.PNG"), "*.PNG");
    EXPECT_EQ(cGdiPlus::PtrToString(nullptr), "");
}

class cGdiPlusSave : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    cGdiPlus saver;
    QSignalSpy errors{&saver, &cGdiPlus::Error};

    QString path(const QString& name) { return dir.filePath(name); }
};

TEST_F(cGdiPlusSave, LosslessEncodersWriteTheExactPicture) {
    const QImage picture = richPicture(64, 48);
    const struct {
        const char* name;
        const char* format;
    } cases[] = {{"a.png", "png"}, {"b.PNG", "png"},  {"c.bmp", "bmp"},
                 {"d.Dib", "bmp"}, {"e.tif", "tiff"}, {"f.TIFF", "tiff"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(saver.PictureBoxToFile(picture, path(c.name), 85)) << c.name;
        QByteArray format;
        const QImage back = readWithQt(path(c.name), &format);
        EXPECT_EQ(format, c.format) << c.name;
        ASSERT_EQ(back.size(), picture.size()) << c.name;
        EXPECT_EQ(maxChannelDifference(back, picture), 0) << c.name;
    }
    EXPECT_TRUE(run("file", {"-b", path("c.bmp")}).startsWith("PC bitmap"));
    EXPECT_TRUE(run("file", {"-b", path("e.tif")}).startsWith("TIFF image"));
    EXPECT_EQ(errors.count(), 0);
}

TEST_F(cGdiPlusSave, JpegNamesAreSavedWithTheGivenQuality) {
    // A smooth picture, so the comparison measures the encoder, not the pattern's edges.
    QImage picture(80, 60, QImage::Format_RGB32);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            picture.setPixel(x, y, qRgb(3 * x, 4 * y, 255 - 2 * x));
    for (const char* name : {"a.jpg", "b.JPEG", "c.jpe", "d.Jfif"}) {
        ASSERT_TRUE(saver.PictureBoxToFile(picture, path(name), 85)) << name;
        QByteArray format;
        const QImage back = readWithQt(path(name), &format);
        EXPECT_EQ(format, "jpeg") << name;
        ASSERT_EQ(back.size(), picture.size());
        EXPECT_LT(meanChannelDifference(back, picture), 2.0) << name;
        EXPECT_LE(maxChannelDifference(back, picture), 24) << name;
        EXPECT_NEAR(jpegQuality(path(name)), 85, 1) << name;
    }
    ASSERT_TRUE(saver.PictureBoxToFile(picture, path("low.jpg"), 20));
    EXPECT_NEAR(jpegQuality(path("low.jpg")), 20, 1);
}

TEST_F(cGdiPlusSave, GifKeepsTheColoursOfPicturesWithFewColours) {
    for (int colours : {1, 2, 3, 200, 256}) {
        const QImage picture = fewColourPicture(50, 40, colours);
        const QString name = path(QString("few%1.gif").arg(colours));
        ASSERT_TRUE(saver.PictureBoxToFile(picture, name, 85)) << colours;
        QByteArray format;
        const QImage back = readWithQt(name, &format);
        EXPECT_EQ(format, "gif");
        ASSERT_EQ(back.size(), QSize(50, 40));
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 50; ++x)
                ASSERT_EQ(back.pixel(x, y), fewColourPixel(x, y, colours))
                    << colours << " colours at " << x << "," << y;
    }
    EXPECT_TRUE(run("file", {"-b", path("few200.gif")}).startsWith("GIF image data"));
}

TEST_F(cGdiPlusSave, GifReducesPhotographsToAGoodPalette) {
    // Smooth gradients in all three channels: thousands of colours.
    QImage picture(256, 96, QImage::Format_RGB32);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 256; ++x)
            picture.setPixel(x, y, qRgb(x, (y * 255) / 95, (x + 2 * y) / 2 % 256));
    ASSERT_TRUE(saver.PictureBoxToFile(picture, path("photo.gif"), 85));
    const QImage back = readWithQt(path("photo.gif"));
    ASSERT_EQ(back.size(), picture.size());
    EXPECT_LT(meanChannelDifference(back, picture), 6.0);
    // Dithering spreads the error; averaged over 8 x 8 blocks the colours stay true.
    const QImage a = back.scaled(32, 12, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage b = picture.scaled(32, 12, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(meanChannelDifference(a, b), 2.0);
    const QString colours = run("identify-im6.q16", {"-format", "%m %k", path("photo.gif")});
    ASSERT_TRUE(colours.startsWith("GIF ")) << colours.toStdString();
    EXPECT_LE(colours.mid(4).toInt(), 256);
    EXPECT_GT(colours.mid(4).toInt(), 64);
}

TEST_F(cGdiPlusSave, NamesNoEncoderServesFailWithoutAnErrorEvent) {
    const QImage picture = richPicture(8, 8);
    QDir(dir.path()).mkdir("holiday.pictures");
    for (const QString& name : {path("noextension"), path("picture.xyz"), path("picture."),
                                path("holiday.pictures/scan")}) {
        EXPECT_FALSE(saver.PictureBoxToFile(picture, name, 85)) << name.toStdString();
        EXPECT_FALSE(QFile::exists(name)) << name.toStdString();
    }
    EXPECT_EQ(errors.count(), 0);
}

TEST_F(cGdiPlusSave, LibraryFailuresRaiseErrorWithStatusAndMessage) {
    EXPECT_FALSE(saver.PictureBoxToFile(QImage(), path("empty.png"), 85));
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors.at(0).at(0).toInt(), 2);
    EXPECT_EQ(errors.at(0).at(1).toString(), "Invalid Parameter");
    EXPECT_FALSE(QFile::exists(path("empty.png")));

    EXPECT_FALSE(saver.PictureBoxToFile(richPicture(4, 4), unwritableFolder() + "/a.png", 85));
    ASSERT_EQ(errors.count(), 2);
    EXPECT_EQ(errors.at(1).at(0).toInt(), 12);
    EXPECT_EQ(errors.at(1).at(1).toString(), "Access Denied");

    EXPECT_FALSE(saver.PictureBoxToFile(richPicture(4, 4), path("missing/a.png"), 85));
    ASSERT_EQ(errors.count(), 3);
    EXPECT_EQ(errors.at(2).at(1).toString(), "File Not Found");
}

TEST_F(cGdiPlusSave, AFailedSaveLeavesTheOldFileByteForByte) {
    const QString target = path("keep.gif");
    writeBytes(target, "the old picture");
    // Wider than a GIF can be: the writer fails after the file was opened.
    EXPECT_FALSE(saver.PictureBoxToFile(QImage(70000, 1, QImage::Format_RGB32), target, 85));
    EXPECT_EQ(fileBytes(target), QByteArray("the old picture"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.gif"});
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors.at(0).at(1).toString(), "Value Overflow");
}

TEST_F(cGdiPlusSave, ASuccessfulSaveReplacesTheOldFile) {
    const QString target = path("again.png");
    writeBytes(target, "the old picture");
    ASSERT_TRUE(saver.PictureBoxToFile(richPicture(9, 9), target, 85));
    EXPECT_EQ(maxChannelDifference(readWithQt(target), richPicture(9, 9)), 0);
}
