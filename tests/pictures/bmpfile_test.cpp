// Our own Windows bitmap writer: exact file layout, read back by Qt and by
// file(1), and no damage to existing files on failure.
#include "pictures/bmpfile.h"
#include "support/test_pictures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace pictures;
using namespace testpictures;

namespace {

quint32 le32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 le16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

WriteResult writeBitmapFile(const QImage& picture, const QString& path) {
    return writeAtomically(path, [&](QIODevice& out) { return writeWindowsBitmap(picture, out); });
}

} // namespace

TEST(WindowsBitmapWriter, WritesBottomUpTwentyFourBitRowsPaddedToFourBytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath("five.bmp");
    ASSERT_TRUE(writeBitmapFile(richPicture(5, 2), path).ok());

    const QByteArray b = fileBytes(path);
    ASSERT_EQ(b.size(), 86); // 54 header bytes + 2 rows of 15 bytes padded to 16
    EXPECT_EQ(b.left(2), QByteArray("BM"));
    EXPECT_EQ(le32(b, 2), 86u);
    EXPECT_EQ(le32(b, 10), 54u);
    EXPECT_EQ(le32(b, 14), 40u);
    EXPECT_EQ(le32(b, 18), 5u);
    EXPECT_EQ(le32(b, 22), 2u);
    EXPECT_EQ(le16(b, 26), 1u);
    EXPECT_EQ(le16(b, 28), 24u);
    EXPECT_EQ(le32(b, 30), 0u);
    EXPECT_EQ(le32(b, 34), 32u);
    // Bottom row first, blue-green-red, one pad byte per row.
    const QByteArray rows = QByteArray::fromHex("020500 040504 060508 08050c 0a0510 00"
                                                "000000 020004 040008 06000c 080010 00");
    EXPECT_EQ(b.mid(54), rows);
}

TEST(WindowsBitmapWriter, IsReadBackByQtAndRecognisedByFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("pattern.bmp");
    QImage picture = richPicture(37, 23);
    picture.setDotsPerMeterX(11811); // 300 dpi
    picture.setDotsPerMeterY(11811);
    ASSERT_TRUE(writeBitmapFile(picture, path).ok());

    QByteArray format;
    const QImage back = readWithQt(path, &format);
    EXPECT_EQ(format, "bmp");
    ASSERT_EQ(back.size(), QSize(37, 23));
    EXPECT_EQ(maxChannelDifference(back, picture), 0);
    EXPECT_EQ(back.dotsPerMeterX(), 11811);
    EXPECT_TRUE(run("file", {"-b", path}).startsWith("PC bitmap"))
        << run("file", {"-b", path}).toStdString();
}

TEST(WindowsBitmapWriter, DropsTransparencyAndKeepsColours) {
    QTemporaryDir dir;
    QImage picture(2, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(10, 20, 30, 0));
    picture.setPixel(1, 0, qRgba(200, 100, 50, 255));
    ASSERT_TRUE(writeBitmapFile(picture, dir.filePath("a.bmp")).ok());
    const QByteArray b = fileBytes(dir.filePath("a.bmp"));
    EXPECT_EQ(b.mid(54), QByteArray::fromHex("1e140a 3264c8 0000"));
}

TEST(WindowsBitmapWriter, FailureLeavesAnExistingFileAndNoLeftovers) {
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.bmp");
    writeBytes(path, "old picture");
    const WriteResult r = writeBitmapFile(QImage(), path);
    EXPECT_EQ(r.status, InvalidParameter);
    EXPECT_EQ(fileBytes(path), QByteArray("old picture"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.bmp"});
}

TEST(WindowsBitmapWriter, ReportsFoldersThatCannotTakeTheFile) {
    QTemporaryDir dir;
    EXPECT_EQ(writeBitmapFile(richPicture(3, 3), dir.filePath("missing/a.bmp")).status,
              FileNotFound);
    EXPECT_EQ(writeBitmapFile(richPicture(3, 3), unwritableFolder() + "/a.bmp").status,
              AccessDenied);
    EXPECT_EQ(writeBitmapFile(richPicture(3, 3), dir.path()).status, AccessDenied);
}
