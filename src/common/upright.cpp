#include "common/upright.h"

#include <QTransform>
#include <QtEndian>

namespace upright {

namespace {

using Transformations = QImageIOHandler::Transformations;

// EXIF's orientation values 1 … 8 as Qt's turns.
Transformations fromExif(quint16 value) {
    switch (value) {
    case 2:
        return QImageIOHandler::TransformationMirror;
    case 3:
        return QImageIOHandler::TransformationRotate180;
    case 4:
        return QImageIOHandler::TransformationFlip;
    case 5:
        return QImageIOHandler::TransformationFlipAndRotate90;
    case 6:
        return QImageIOHandler::TransformationRotate90;
    case 7:
        return QImageIOHandler::TransformationMirrorAndRotate90;
    case 8:
        return QImageIOHandler::TransformationRotate270;
    default:
        return QImageIOHandler::TransformationNone;
    }
}

// The orientation tag (0x0112) of the first directory of EXIF's TIFF
// structure, which some writers lead with "Exif\0\0".
Transformations fromTiff(QByteArrayView exif) {
    if (exif.startsWith(QByteArrayView("Exif\0\0", 6)))
        exif = exif.sliced(6);
    if (exif.size() < 8)
        return QImageIOHandler::TransformationNone;
    const bool little = exif.startsWith("II");
    if (!little && !exif.startsWith("MM"))
        return QImageIOHandler::TransformationNone;
    auto read16 = [&](qsizetype at) {
        return little ? qFromLittleEndian<quint16>(exif.data() + at)
                      : qFromBigEndian<quint16>(exif.data() + at);
    };
    auto read32 = [&](qsizetype at) {
        return little ? qFromLittleEndian<quint32>(exif.data() + at)
                      : qFromBigEndian<quint32>(exif.data() + at);
    };
    const quint32 directory = read32(4);
    if (directory > quint32(exif.size() - 2))
        return QImageIOHandler::TransformationNone;
    const quint16 entries = read16(directory);
    for (quint32 i = 0; i < entries; ++i) {
        const qsizetype entry = directory + 2 + 12 * qsizetype(i);
        if (entry + 12 > exif.size())
            break;
        if (read16(entry) == 0x0112 && read16(entry + 2) == 3) // SHORT
            return fromExif(read16(entry + 8));
    }
    return QImageIOHandler::TransformationNone;
}

// PNG: chunks of a big-endian length, a type, the data and a checksum.
QByteArrayView pngExif(QByteArrayView file) {
    for (qsizetype at = 8; at + 8 <= file.size();) {
        const quint32 length = qFromBigEndian<quint32>(file.data() + at);
        if (length > quint32(file.size() - at - 8))
            break;
        const QByteArrayView type = file.sliced(at + 4, 4);
        if (type == "eXIf")
            return file.sliced(at + 8, length);
        if (type == "IDAT" || type == "IEND")
            break; // the block comes before the pixels
        at += 12 + qsizetype(length);
    }
    return {};
}

// WebP: RIFF chunks of a name, a little-endian length and the data, padded
// to an even length.
QByteArrayView webpExif(QByteArrayView file) {
    for (qsizetype at = 12; at + 8 <= file.size();) {
        const quint32 length = qFromLittleEndian<quint32>(file.data() + at + 4);
        if (length > quint32(file.size() - at - 8))
            break;
        if (file.sliced(at, 4) == "EXIF")
            return file.sliced(at + 8, length);
        at += 8 + qsizetype(length) + (length & 1);
    }
    return {};
}

} // namespace

Transformations pngOrWebpTurns(QByteArrayView file) {
    if (file.startsWith("\x89PNG\r\n\x1a\n"))
        return fromTiff(pngExif(file));
    if (file.size() >= 12 && file.startsWith("RIFF") && file.sliced(8, 4) == "WEBP")
        return fromTiff(webpExif(file));
    return QImageIOHandler::TransformationNone;
}

QImage apply(QImage image, Transformations t) {
    if (t == QImageIOHandler::TransformationRotate270)
        return image.transformed(QTransform().rotate(270));
    if (t & (QImageIOHandler::TransformationMirror | QImageIOHandler::TransformationFlip))
        image = std::move(image).mirrored(t & QImageIOHandler::TransformationMirror,
                                          t & QImageIOHandler::TransformationFlip);
    if (t & QImageIOHandler::TransformationRotate90)
        image = image.transformed(QTransform().rotate(90));
    return image;
}

} // namespace upright
