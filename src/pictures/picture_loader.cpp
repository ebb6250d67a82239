#include "pictures/picture_loader.h"

#include "common/colour_profile.h"
#include "common/jpeg_reader.h"
#include "common/unreadable.h"
#include "common/upright.h"
#include "pictures/heif_loader.h"
#include "pictures/picture_formats.h"
#include "pictures/raw_loader.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageReader>
#include <QPainter>

namespace pictureloader {

namespace {

bool readBy(pictures::Reader reader, const QString& fileName) {
    const pictures::PictureFormat* format = pictures::formatOf(fileName);
    return format && format->reader == reader;
}

using unreadable::Reason;

LoadedPicture failure(Reason reason) {
    return {{}, unreadable::words(reason)};
}

LoadedPicture tooLarge(QSize size) {
    return {{}, unreadable::tooLarge(size.width(), size.height(), MaxPixels)};
}

LoadedPicture decodeWithQt(const QString& fileName, const QByteArray& bytes) {
    // Qt's own bound, checked before its readers allocate, set once (it is
    // shared by every thread): ours at 8 bytes a pixel, as 16-bit PNG and
    // TIFF come out. Qt's default, 128 MB, would refuse a 40-megapixel photo.
    static const bool limited = [] {
        QImageReader::setAllocationLimit(int(MaxPixels * 8 / (1024 * 1024)) + 1);
        return true;
    }();
    Q_UNUSED(limited);
    QByteArray content = bytes; // shared, not copied
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    // A TIFF's first page, the canvas of an animation: what read() gives.
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > MaxPixels)
        return tooLarge(size);

    QImage image;
    if (!reader.read(&image)) {
        if (reader.error() != QImageReader::UnsupportedFormatError)
            return failure(unreadable::damagedOrCutShort(bytes));
        // No reader knows the content: under the name of a format we read,
        // the file is damaged; under any other, it is no picture of ours.
        return failure(pictures::isReadableName(fileName) ? Reason::Damaged : Reason::Unsupported);
    }
    // Some readers (MNG) report success with no picture at all.
    if (image.isNull())
        return failure(Reason::Damaged);
    image = overWhite(std::move(image));
    if (image.isNull())
        return failure(Reason::NoMemory);
    colour::toSrgb(image);
    if (reader.transformation() == QImageIOHandler::TransformationNone)
        image = upright::apply(std::move(image), upright::pngOrWebpTurns(bytes));
    return {image, {}};
}

} // namespace

QImage overWhite(QImage image) {
    if (!image.hasAlphaChannel())
        return image.format() == QImage::Format_RGB32
                   ? image
                   : std::move(image).convertToFormat(QImage::Format_RGB32);
    QImage white(image.size(), QImage::Format_RGB32);
    if (white.isNull())
        return white;
    white.fill(Qt::white);
    white.setColorSpace(image.colorSpace());
    white.setDotsPerMeterX(image.dotsPerMeterX());
    white.setDotsPerMeterY(image.dotsPerMeterY());
    QPainter(&white).drawImage(0, 0, image);
    return white;
}

LoadedPicture load(const QString& fileName) {
    QString error;
    const std::optional<QByteArray> bytes = readFile(fileName, &error);
    if (!bytes)
        return {{}, error};
    return decode(fileName, *bytes);
}

std::optional<QByteArray> readFile(const QString& fileName, QString* error) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = unreadable::cannotOpen(file.errorString());
        return std::nullopt;
    }
    // No picture we accept takes more room in a file than in memory.
    if (file.size() > MaxFileBytes) {
        *error = unreadable::fileTooLarge(file.size(), MaxFileBytes);
        return std::nullopt;
    }
    QByteArray bytes(file.size(), Qt::Uninitialized);
    jpegreader::preferHugePages(bytes.data(), size_t(bytes.size()));
    const qint64 read = file.read(bytes.data(), bytes.size());
    if (read < 0) {
        *error = unreadable::cannotOpen(file.errorString());
        return std::nullopt;
    }
    bytes.truncate(read); // cut short while we read: decoded as far as it goes
    return bytes;
}

LoadedPicture decode(const QString& fileName, const QByteArray& bytes,
                     const std::atomic<bool>* cancel) {
    return decodeCovering(fileName, bytes, {}, cancel);
}

LoadedPicture decodeCovering(const QString& fileName, const QByteArray& bytes, QSize atLeast,
                             const std::atomic<bool>* cancel) {
    if (readBy(pictures::Reader::Wmf, fileName))
        return loadWmf(fileName);
    if (bytes.isEmpty())
        return failure(Reason::Empty);
    if (readBy(pictures::Reader::Raw, fileName))
        return decodeRaw(bytes);
    // Files are often misnamed (a PNG saved as .JPG): the content decides.
    if (isHeif(bytes))
        return decodeHeif(bytes);
    if (!jpegreader::handles(bytes))
        return decodeWithQt(fileName, bytes);
    const std::optional<QSize> size =
        atLeast.isEmpty() ? std::nullopt : jpegreader::uprightSize(bytes);
    const int reduction = size ? jpegreader::reductionFor(*size, atLeast) : 1;
    jpegreader::Result r = jpegreader::read(bytes, reduction, MaxPixels, cancel);
    return {std::move(r.image), std::move(r.error)};
}

LoadedPicture decodeReduced(const QString& fileName, const QByteArray& bytes, QSize box,
                            Quick quick) {
    if (readBy(pictures::Reader::Wmf, fileName))
        return {};
    if (readBy(pictures::Reader::Raw, fileName))
        return decodeRawPreview(bytes, box, quick);
    if (isHeif(bytes))
        return decodeHeifThumbnail(bytes, box, quick);
    if (!jpegreader::handles(bytes))
        return {};
    const std::optional<QSize> size = jpegreader::uprightSize(bytes);
    if (!size || size->isEmpty())
        return {};
    const int reduction = jpegreader::reductionFor(*size, size->scaled(box, Qt::KeepAspectRatio));
    if (reduction == 1)
        return {};
    jpegreader::Result r = reduction == 8 ? jpegreader::readEighthForScreen(bytes, MaxPixels)
                                          : jpegreader::read(bytes, reduction, MaxPixels);
    return {std::move(r.image), std::move(r.error), *size};
}

} // namespace pictureloader
