// The preview loader on JPEG, GIF, BMP, ICO, PNG and WMF files (HEIF, TIFF,
// WebP and camera raw files have targets of their own). The first byte picks
// the file's extension (the loader trusts content for Qt's formats, the name
// for WMF); the rest is the file. Whatever comes, the result is a picture within
// the size guard or an error, never a crash or an oversized allocation; the
// quick reduced decode for the screen is never larger than the full picture.
#include "fuzz_support.h"
#include "pictures/picture_loader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::startQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    static const char* const names[] = {"in.jpg", "in.gif", "in.bmp", "in.ico",
                                        "in.wmf", "in.WMF", "in.JPG", "in.png"};
    const QString path = fuzz::scratchPath(names[data[0] % (sizeof names / sizeof *names)]);
    fuzz::writeFile(path, data + 1, size - 1);
    const LoadedPicture p = pictureloader::load(path);
    fuzz::check(p.ok() == p.error.isEmpty(), "a picture and an error at once, or neither");
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const LoadedPicture quick = pictureloader::decodeReduced(path, bytes, QSize(16, 16));
    if (quick.ok() && p.ok())
        fuzz::check(quick.image.width() <= p.image.width() &&
                        quick.image.height() <= p.image.height(),
                    "a reduced picture larger than the full one");
    if (p.ok()) {
        fuzz::check(qint64(p.image.width()) * p.image.height() <= pictureloader::MaxPixels,
                    "a picture above the size guard");
        fuzz::check(p.image.format() == QImage::Format_RGB32,
                    "a picture that is not opaque RGB32, as the previews draw");
    }
    QFile::remove(path);
    return 0;
}
