#pragma once
// Shared by the loader's fuzz targets: decodes one input as a file of the
// given name, in full and quickly for the screen, and checks what every
// decode must keep. Whatever comes, the result is an opaque picture within
// the size guard or a reason in words, never a crash or an oversized
// allocation.

#include "fuzz_support.h"
#include "pictures/picture_loader.h"

namespace fuzz {

inline void checkPicture(const LoadedPicture& p) {
    if (!p.ok())
        return;
    check(qint64(p.image.width()) * p.image.height() <= pictureloader::MaxPixels,
          "a picture above the size guard");
    check(p.image.format() == QImage::Format_RGB32,
          "a picture that is not opaque RGB32, as the previews draw");
}

inline void decodeAs(const char* name, const uint8_t* data, size_t size) {
    const QString path = QString::fromLatin1(name);
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const LoadedPicture full = pictureloader::decode(path, bytes);
    check(full.ok() == full.error.isEmpty(), "a picture and an error at once, or neither");
    checkPicture(full);
    // The screen's box and the thumbnails' largest.
    for (const QSize box : {QSize(16, 16), QSize(512, 512)}) {
        const LoadedPicture quick = pictureloader::decodeReduced(path, bytes, box);
        checkPicture(quick);
        if (quick.ok())
            check(!quick.fullSize.isEmpty(), "a quick picture that does not say the full size");
    }
}

} // namespace fuzz
