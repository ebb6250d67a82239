// The canvas sizes of HEIF grids and overlays, read from files put together
// box by box: the fields the loader checks before libheif allocates.
#include "pictures/heif_canvases.h"

#include <gtest/gtest.h>

namespace {

QByteArray be(quint64 value, int bytes) {
    QByteArray out(bytes, '\0');
    for (int i = bytes - 1; i >= 0; --i, value >>= 8)
        out[i] = char(value & 0xff);
    return out;
}

QByteArray box(const char* type, const QByteArray& content) {
    return be(quint64(8 + content.size()), 4) + type + content;
}

QByteArray fullBox(const char* type, int version, const QByteArray& content) {
    return box(type, be(quint64(version) << 24, 4) + content);
}

QByteArray infe(quint32 id, const char* type) {
    return fullBox("infe", 2, be(id, 2) + be(0, 2) + type + QByteArray(1, '\0'));
}

// A HEIF file whose primary item 1 has `type` and whose item data is
// `data`: in the "idat" box, or after the "meta" box, split into two extents.
QByteArray heif(const char* type, const QByteArray& data, bool inIdat) {
    const QByteArray iinf = fullBox("iinf", 0, be(1, 2) + infe(1, type));
    const int half = int(data.size() / 2);
    auto meta = [&](quint64 fileOffset) {
        const QByteArray iloc =
            inIdat ? fullBox("iloc", 1,
                             be(0x4400, 2) + be(1, 2) + be(1, 2) + be(1, 2) + be(0, 2) + be(1, 2) +
                                 be(0, 4) + be(quint64(data.size()), 4))
                   : fullBox("iloc", 0,
                             be(0x4400, 2) + be(1, 2) + be(1, 2) + be(0, 2) + be(2, 2) +
                                 be(fileOffset, 4) + be(quint64(half), 4) +
                                 be(fileOffset + quint64(half), 4) +
                                 be(quint64(data.size() - half), 4));
        return fullBox("meta", 0,
                       fullBox("hdlr", 0, be(0, 4) + "pict" + QByteArray(13, '\0')) +
                           fullBox("pitm", 0, be(1, 2)) + iinf + iloc +
                           (inIdat ? box("idat", data) : QByteArray()));
    };
    const QByteArray ftyp = box("ftyp", QByteArray("heic") + be(0, 4) + "mif1heic");
    if (inIdat)
        return ftyp + meta(0);
    const quint64 offset = quint64(ftyp.size() + meta(0).size());
    return ftyp + meta(offset) + data;
}

TEST(HeifCanvases, GridsAndOverlaysWhereverTheirDataLies) {
    // Version, flags (bit 0: 32-bit sides), then rows and columns less one.
    const QByteArray grid16 = be(0, 2) + be(0x0101, 2) + be(20000, 2) + be(10001, 2);
    const QByteArray grid32 = be(1, 2) + be(0x0303, 2) + be(70000, 4) + be(50000, 4);
    // Version, flags, four 16-bit fill values, the sides, an offset.
    const QByteArray overlay32 = be(1, 2) + QByteArray(8, '\xff') + be(3000, 4) + be(2000, 4);
    EXPECT_EQ(pictureloader::largestHeifCanvas(heif("grid", grid16, true)), 200'020'000);
    EXPECT_EQ(pictureloader::largestHeifCanvas(heif("grid", grid16, false)), 200'020'000);
    EXPECT_EQ(pictureloader::largestHeifCanvas(heif("grid", grid32, false)), 3'500'000'000);
    EXPECT_EQ(pictureloader::largestHeifCanvas(heif("iovl", overlay32, true)), 6'000'000);
    // A coded picture has no canvas of its own; cut data and junk have none.
    EXPECT_EQ(pictureloader::largestHeifCanvas(heif("hvc1", grid16, true)), 0);
    EXPECT_EQ(pictureloader::largestHeifCanvas(heif("grid", grid32.left(7), true)), 0);
    EXPECT_EQ(pictureloader::largestHeifCanvas(QByteArray(64, '\xff')), 0);
}

} // namespace
