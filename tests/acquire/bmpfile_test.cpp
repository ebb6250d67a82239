// Our own Windows bitmap writer and reader: exact file layout, read back by
// Qt and by file(1), and no damage to existing files on failure.
#include "acquire/bmpfile.h"
#include "test_pictures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace acquire;
using namespace acquiretest;

namespace {

quint32 le32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 le16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

QByteArray header(qint32 width, qint32 height, quint16 bits, quint32 dataSize) {
    QByteArray h(54, '\0');
    h[0] = 'B';
    h[1] = 'M';
    qToLittleEndian<quint32>(54 + dataSize, h.data() + 2);
    qToLittleEndian<quint32>(54, h.data() + 10);
    qToLittleEndian<quint32>(40, h.data() + 14);
    qToLittleEndian<qint32>(width, h.data() + 18);
    qToLittleEndian<qint32>(height, h.data() + 22);
    qToLittleEndian<quint16>(1, h.data() + 26);
    qToLittleEndian<quint16>(bits, h.data() + 28);
    qToLittleEndian<quint32>(dataSize, h.data() + 34);
    return h;
}

} // namespace

TEST(WindowsBitmapWriter, WritesBottomUpTwentyFourBitRowsPaddedToFourBytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath("five.bmp");
    ASSERT_TRUE(writeWindowsBitmap(richPicture(5, 2), path).ok());

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
    ASSERT_TRUE(writeWindowsBitmap(picture, path).ok());

    QByteArray format;
    const QImage back = readWithQt(path, &format);
    EXPECT_EQ(format, "bmp");
    ASSERT_EQ(back.size(), QSize(37, 23));
    EXPECT_EQ(maxChannelDifference(back, picture), 0);
    EXPECT_EQ(back.dotsPerMeterX(), 11811);
    EXPECT_TRUE(run("file", {"-b", path}).startsWith("PC bitmap"))
        << run("file", {"-b", path}).toStdString();

    const QImage ours = readWindowsBitmap(path);
    ASSERT_EQ(ours.size(), QSize(37, 23));
    EXPECT_EQ(maxChannelDifference(ours, picture), 0);
}

TEST(WindowsBitmapWriter, DropsTransparencyAndKeepsColours) {
    QTemporaryDir dir;
    QImage picture(2, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(10, 20, 30, 0));
    picture.setPixel(1, 0, qRgba(200, 100, 50, 255));
    ASSERT_TRUE(writeWindowsBitmap(picture, dir.filePath("a.bmp")).ok());
    const QByteArray b = fileBytes(dir.filePath("a.bmp"));
    EXPECT_EQ(b.mid(54), QByteArray::fromHex("1e140a 3264c8 0000"));
}

TEST(WindowsBitmapWriter, FailureLeavesAnExistingFileAndNoLeftovers) {
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.bmp");
    writeBytes(path, "old picture");
    const WriteResult r = writeWindowsBitmap(QImage(), path);
    EXPECT_EQ(r.status, InvalidParameter);
    EXPECT_EQ(fileBytes(path), QByteArray("old picture"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.bmp"});
}

TEST(WindowsBitmapWriter, ReportsFoldersThatCannotTakeTheFile) {
    QTemporaryDir dir;
    EXPECT_EQ(writeWindowsBitmap(richPicture(3, 3), dir.filePath("missing/a.bmp")).status,
              FileNotFound);
    EXPECT_EQ(writeWindowsBitmap(richPicture(3, 3), unwritableFolder() + "/a.bmp").status,
              AccessDenied);
    EXPECT_EQ(writeWindowsBitmap(richPicture(3, 3), dir.path()).status, AccessDenied);
}

TEST(WindowsBitmapReader, ReadsTopDownThirtyTwoBitFiles) {
    QTemporaryDir dir;
    const QString path = dir.filePath("topdown.bmp");
    writeBytes(path,
               header(2, -2, 32, 16) + QByteArray::fromHex("01020300 04050600 07080900 0a0b0c00"));
    QString error;
    const QImage image = readWindowsBitmap(path, &error);
    ASSERT_FALSE(image.isNull()) << error.toStdString();
    ASSERT_EQ(image.size(), QSize(2, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgb(3, 2, 1));
    EXPECT_EQ(image.pixel(1, 0), qRgb(6, 5, 4));
    EXPECT_EQ(image.pixel(0, 1), qRgb(9, 8, 7));
    EXPECT_EQ(image.pixel(1, 1), qRgb(12, 11, 10));
}

TEST(WindowsBitmapReader, RefusesDamagedAndForeignFilesWithAReason) {
    QTemporaryDir dir;
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"text", "this is not a picture at all, not even close to one......"},
        {"short rows", header(4, 4, 24, 48) + QByteArray(20, '\x7f')},
        {"eight bit", header(4, 4, 8, 16) + QByteArray(16 + 1024, '\0')},
        {"zero width", header(0, 4, 24, 0)},
        {"huge", header(100000, 100000, 24, 0)},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(c.name);
        writeBytes(path, c.bytes);
        QString error;
        EXPECT_TRUE(readWindowsBitmap(path, &error).isNull()) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
    }
    QString error;
    EXPECT_TRUE(readWindowsBitmap(dir.filePath("absent.bmp"), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}
