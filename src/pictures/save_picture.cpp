#include "pictures/save_picture.h"

#include "pictures/bmpfile.h"
#include "pictures/gifwriter.h"

#include <QIODevice>
#include <QImageWriter>
#include <new>

namespace pictures {

namespace {

WriteResult writeWithQt(const QImage& picture, QIODevice& out, const PictureFormat& format,
                        int quality) {
    QImageWriter writer(&out,
                        QByteArray(format.qtWriter.data(), qsizetype(format.qtWriter.size())));
    writer.setQuality(quality);
    if (!writer.write(picture))
        return WriteResult::failure(writer.error() == QImageWriter::DeviceError ? Win32Error
                                                                                : GenericError,
                                    writer.errorString());
    return {};
}

WriteResult save(const QImage& picture, const QString& path, const PictureFormat& format,
                 int quality) {
    if (format.writer == Writer::None)
        return WriteResult::failure(UnknownImageFormat, "no writer for " + path);
    if (picture.isNull())
        return WriteResult::failure(InvalidParameter, "no picture to save");
    // The writers get an opaque copy of the picture.
    const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);
    if (opaque.isNull())
        return WriteResult::failure(OutOfMemory, "not enough memory to copy the picture");
    return writeAtomically(path, [&](QIODevice& out) {
        if (format.writer == Writer::Bitmap)
            return writeWindowsBitmap(opaque, out);
        if (format.writer == Writer::Gif)
            return writeGif(opaque, out);
        return writeWithQt(opaque, out, format, quality);
    });
}

} // namespace

WriteResult savePicture(const QImage& picture, const QString& path, const PictureFormat& format,
                        int quality) {
    // A picture too large for memory ends as a failed save, not a crash.
    try {
        return save(picture, path, format, quality);
    } catch (const std::bad_alloc&) {
        return WriteResult::failure(OutOfMemory, "not enough memory to save the picture");
    }
}

} // namespace pictures
