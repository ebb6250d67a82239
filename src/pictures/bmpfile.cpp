#include "pictures/bmpfile.h"

#include <QIODevice>
#include <QtEndian>
#include <vector>

namespace pictures {

namespace {

constexpr int fileHeaderSize = 14;
constexpr int infoHeaderSize = 40;
constexpr int dataOffset = fileHeaderSize + infoHeaderSize;

void put16(char* p, quint16 v) {
    qToLittleEndian<quint16>(v, p);
}
void put32(char* p, quint32 v) {
    qToLittleEndian<quint32>(v, p);
}

// Rows of a bitmap are padded to whole 32-bit words.
qint64 rowBytes(qint64 width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

} // namespace

WriteResult writeWindowsBitmap(const QImage& picture, QIODevice& out) {
    if (picture.isNull())
        return WriteResult::failure(InvalidParameter, "no picture to write");
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return WriteResult::failure(OutOfMemory, "not enough memory to convert the picture");
    const qint64 width = image.width();
    const qint64 height = image.height();
    const qint64 stride = rowBytes(width, 24);
    const qint64 imageSize = stride * height;
    if (dataOffset + imageSize > qint64(0xFFFFFFFFu))
        return WriteResult::failure(ValueOverflow, "the picture is too large for a bitmap file");

    char header[dataOffset] = {};
    header[0] = 'B';
    header[1] = 'M';
    put32(header + 2, quint32(dataOffset + imageSize));
    put32(header + 10, dataOffset);
    put32(header + 14, infoHeaderSize);
    put32(header + 18, quint32(width));
    put32(header + 22, quint32(height)); // positive: bottom-up rows
    put16(header + 26, 1);               // planes
    put16(header + 28, 24);              // bits per pixel
    put32(header + 30, 0);               // no compression
    put32(header + 34, quint32(imageSize));
    // Keep the scan's resolution so other programs print it at its size.
    put32(header + 38, quint32(qMax(0, image.dotsPerMeterX())));
    put32(header + 42, quint32(qMax(0, image.dotsPerMeterY())));
    if (out.write(header, dataOffset) != dataOffset)
        return WriteResult::failure(Win32Error, out.errorString());

    std::vector<char> row(static_cast<size_t>(stride), 0);
    for (qint64 y = height - 1; y >= 0; --y) {
        const auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(int(y)));
        char* dst = row.data();
        for (qint64 x = 0; x < width; ++x) {
            *dst++ = char(qBlue(src[x]));
            *dst++ = char(qGreen(src[x]));
            *dst++ = char(qRed(src[x]));
        }
        if (out.write(row.data(), stride) != stride)
            return WriteResult::failure(Win32Error, out.errorString());
    }
    return {};
}

} // namespace pictures
