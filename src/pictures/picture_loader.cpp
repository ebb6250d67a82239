#include "pictures/picture_loader.h"

#include "common/colour_profile.h"
#include "common/jpeg_reader.h"
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

LoadedPicture decodeWithQt(const QString& fileName, const QByteArray& bytes) {
    QByteArray content = bytes; // shared, not copied
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    // Qt refuses anything above 128 MB by default (about 33 megapixels);
    // our own bound is MaxPixels at 4 bytes a pixel.
    QImageReader::setAllocationLimit(int(MaxPixels * 4 / (1024 * 1024)) + 1);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > MaxPixels)
        return {{},
                QStringLiteral("%1: %2 x %3 pixels is too large")
                    .arg(fileName)
                    .arg(size.width())
                    .arg(size.height())};

    QImage image;
    if (!reader.read(&image))
        return {{}, fileName + ": " + reader.errorString()};
    // Some readers (MNG) report success with no picture at all.
    if (image.isNull())
        return {{}, fileName + ": the file holds no picture"};
    image = overWhite(std::move(image));
    if (image.isNull())
        return {{}, fileName + ": not enough memory for the picture"};
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
        *error = fileName + ": " + file.errorString();
        return std::nullopt;
    }
    // No picture we accept takes more room in a file than in memory.
    if (file.size() > MaxPixels * 4) {
        *error = fileName + ": the file is too large for a picture";
        return std::nullopt;
    }
    QByteArray bytes(file.size(), Qt::Uninitialized);
    jpegreader::preferHugePages(bytes.data(), size_t(bytes.size()));
    const qint64 read = file.read(bytes.data(), bytes.size());
    if (read < 0) {
        *error = fileName + ": " + file.errorString();
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
    if (readBy(pictures::Reader::Raw, fileName))
        return decodeRaw(fileName, bytes);
    // Files are often misnamed (a PNG saved as .JPG): the content decides.
    if (isHeif(bytes))
        return decodeHeif(fileName, bytes);
    if (!jpegreader::handles(bytes))
        return decodeWithQt(fileName, bytes);
    const std::optional<QSize> size =
        atLeast.isEmpty() ? std::nullopt : jpegreader::uprightSize(bytes);
    const int reduction = size ? jpegreader::reductionFor(*size, atLeast) : 1;
    jpegreader::Result r = jpegreader::read(bytes, reduction, MaxPixels, cancel);
    if (r.image.isNull())
        return {{}, fileName + ": " + r.error};
    return {std::move(r.image), {}};
}

LoadedPicture decodeReduced(const QString& fileName, const QByteArray& bytes, QSize box) {
    if (readBy(pictures::Reader::Wmf, fileName) || readBy(pictures::Reader::Raw, fileName) ||
        !jpegreader::handles(bytes))
        return {};
    const std::optional<QSize> size = jpegreader::uprightSize(bytes);
    if (!size || size->isEmpty())
        return {};
    const int reduction = jpegreader::reductionFor(*size, size->scaled(box, Qt::KeepAspectRatio));
    if (reduction == 1)
        return {};
    jpegreader::Result r = reduction == 8 ? jpegreader::readEighthForScreen(bytes, MaxPixels)
                                          : jpegreader::read(bytes, reduction, MaxPixels);
    if (r.image.isNull())
        return {{}, fileName + ": " + r.error};
    return {std::move(r.image), {}};
}

} // namespace pictureloader
