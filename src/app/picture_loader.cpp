#include "app/picture_loader.h"

#include <QFileInfo>
#include <QImageReader>

namespace pictureloader {

LoadedPicture load(const QString& fileName) {
    if (QFileInfo(fileName).suffix().compare("wmf", Qt::CaseInsensitive) == 0)
        return loadWmf(fileName);

    QImageReader reader(fileName);
    // Files are often misnamed (a PNG saved as .JPG): trust the content.
    reader.setDecideFormatFromContent(true);
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
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32 &&
        image.format() != QImage::Format_ARGB32_Premultiplied)
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                : QImage::Format_RGB32);
    if (image.isNull())
        return {{}, fileName + ": not enough memory for the picture"};
    return {image, {}};
}

} // namespace pictureloader
