// The GIF writer on its own: the file's screen descriptor and colour table,
// and pictures GIF cannot hold.
#include "pictures/gifwriter.h"
#include "support/test_pictures.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace pictures;
using namespace testpictures;

TEST(GifWriter, ScreenDescriptorCarriesSizeAndAPowerOfTwoColourTable) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writeGif(fewColourPicture(300, 2, 3), buffer).ok());
    ASSERT_GT(bytes.size(), 13 + 12);
    EXPECT_TRUE(bytes.startsWith("GIF8"));
    EXPECT_EQ(quint8(bytes[6]) | quint8(bytes[7]) << 8, 300);
    EXPECT_EQ(quint8(bytes[8]) | quint8(bytes[9]) << 8, 2);
    const quint8 packed = quint8(bytes[10]);
    EXPECT_TRUE(packed & 0x80);      // a global colour table follows
    EXPECT_EQ(2 << (packed & 7), 4); // three colours need a table of four
    // The table lists the picture's colours: (0,255,0), (1,254,3), (2,253,6).
    EXPECT_EQ(bytes.mid(13, 9), QByteArray::fromHex("00ff00 01fe03 02fd06"));
    EXPECT_EQ(bytes.back(), ';'); // the trailer
}

TEST(GifWriter, RefusesWhatAGifCannotHold) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_EQ(writeGif(QImage(), buffer).status, InvalidParameter);
    EXPECT_EQ(writeGif(QImage(1, 65536, QImage::Format_RGB32), buffer).status, ValueOverflow);
    EXPECT_TRUE(bytes.isEmpty());
}

TEST(GifWriter, ReportsADeviceThatTakesNoData) {
    QBuffer closed;
    EXPECT_FALSE(writeGif(fewColourPicture(4, 4, 2), closed).ok());
}
