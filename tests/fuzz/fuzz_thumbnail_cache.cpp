// A file of the shared thumbnail cache, as any program may have left it, read
// for one photo. Whatever comes, it is a valid thumbnail (a picture no larger
// than the largest folder's) or not valid, never a crash or an oversized
// allocation; it is never valid for another time of the photo; and one valid
// for the photo, written again as ours, reads back alike.
#include "fuzz_support.h"
#include "thumbnails/thumbnail_file.h"

namespace {

const thumbnails::Source kPhoto{"file:///home/ann/Pictures/photo.jpg", 1700000000, 12345};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::startQt();
    qputenv("XDG_CACHE_HOME", fuzz::scratchPath({}).toUtf8());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray png(reinterpret_cast<const char*>(data), qsizetype(size));
    const thumbnails::CachedFile read = thumbnails::readCached(png, kPhoto);
    thumbnails::Source changed = kPhoto;
    changed.mtime += 1;
    fuzz::check(!thumbnails::readCached(png, changed).valid, "valid for another time of the photo");
    if (!read.valid)
        return 0;
    const int largest = thumbnails::kSizeFolders.back().pixels;
    fuzz::check(!read.image.isNull() && read.image.width() <= largest &&
                    read.image.height() <= largest,
                "a valid thumbnail without a picture, or larger than the largest folder");

    const QString path = thumbnails::thumbnailPath(thumbnails::kSizeFolders[0], kPhoto);
    fuzz::check(thumbnails::writeCached(path, read.image, kPhoto, read.reason).isEmpty(),
                "a thumbnail that cannot be written");
    const thumbnails::CachedFile again = thumbnails::readCached(path, kPhoto);
    fuzz::check(again.valid && again.image.size() == read.image.size() &&
                    again.reason == read.reason,
                "ours does not read back as written");
    return 0;
}
