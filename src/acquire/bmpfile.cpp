#include "acquire/bmpfile.h"

#include <QFile>
#include <QtEndian>
#include <vector>

namespace acquire {

namespace {

constexpr int fileHeaderSize = 14;
constexpr int infoHeaderSize = 40;
constexpr int dataOffset = fileHeaderSize + infoHeaderSize;
// Beyond this many pixels the reader refuses a file rather than try to allocate it.
constexpr qint64 maxPixels = qint64(1) << 28;

void put16(char* p, quint16 v) {
    qToLittleEndian<quint16>(v, p);
}
void put32(char* p, quint32 v) {
    qToLittleEndian<quint32>(v, p);
}
quint16 get16(const char* p) {
    return qFromLittleEndian<quint16>(p);
}
quint32 get32(const char* p) {
    return qFromLittleEndian<quint32>(p);
}
qint32 getS32(const char* p) {
    return qFromLittleEndian<qint32>(p);
}

// Rows of a bitmap are padded to whole 32-bit words.
qint64 rowBytes(qint64 width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

QImage fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return {};
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

WriteResult writeWindowsBitmap(const QImage& picture, const QString& path) {
    if (picture.isNull())
        return WriteResult::failure(InvalidParameter, "no picture to write");
    return writeAtomically(path, [&](QIODevice& out) { return writeWindowsBitmap(picture, out); });
}

QImage readWindowsBitmap(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, file.errorString());
    char header[dataOffset];
    if (file.read(header, dataOffset) != dataOffset || header[0] != 'B' || header[1] != 'M')
        return fail(error, "not a Windows bitmap file");
    const quint32 offset = get32(header + 10);
    const quint32 infoSize = get32(header + 14);
    const qint64 width = getS32(header + 18);
    const qint64 signedHeight = getS32(header + 22);
    const int bits = get16(header + 28);
    const quint32 compression = get32(header + 30);
    if (infoSize < infoHeaderSize || offset < fileHeaderSize + infoSize)
        return fail(error, "damaged bitmap header");
    if ((bits != 24 && bits != 32) || compression != 0)
        return fail(
            error,
            QString("unsupported bitmap: %1 bits, compression %2").arg(bits).arg(compression));
    const bool topDown = signedHeight < 0;
    const qint64 height = topDown ? -signedHeight : signedHeight;
    if (width <= 0 || height <= 0 || width * height > maxPixels)
        return fail(error, QString("unusable bitmap size %1 x %2").arg(width).arg(height));
    const qint64 stride = rowBytes(width, bits);
    if (file.size() < qint64(offset) + stride * height)
        return fail(error, "the bitmap file is cut short");

    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return fail(error, "not enough memory for the picture");
    if (!file.seek(offset))
        return fail(error, file.errorString());
    const int bytesPerPixel = bits / 8;
    std::vector<char> row(static_cast<size_t>(stride));
    for (qint64 r = 0; r < height; ++r) {
        if (file.read(row.data(), stride) != stride)
            return fail(error, "the bitmap file is cut short");
        const qint64 y = topDown ? r : height - 1 - r;
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        const auto* src = reinterpret_cast<const uchar*>(row.data());
        for (qint64 x = 0; x < width; ++x, src += bytesPerPixel)
            dst[x] = qRgb(src[2], src[1], src[0]);
    }
    const qint32 xppm = getS32(header + 38);
    const qint32 yppm = getS32(header + 42);
    if (xppm > 0 && yppm > 0) {
        image.setDotsPerMeterX(xppm);
        image.setDotsPerMeterY(yppm);
    }
    return image;
}

} // namespace acquire
