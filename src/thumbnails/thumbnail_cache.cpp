#include "thumbnails/thumbnail_cache.h"

#include "pictures/picture_loader.h"
#include "thumbnails/thumbnail_file.h"

namespace thumbnails {

namespace {

// The cached thumbnail of the smallest folder from `first` on.
QImage cachedFrom(const Source& source, int first) {
    for (const SizeFolder& folder : kSizeFolders) {
        if (folder.pixels < first)
            continue;
        CachedFile found = readCached(thumbnailPath(folder, source), source);
        if (found.valid)
            return std::move(found.image);
    }
    return {};
}

// The picture fitted into `pixels` by its longer side, never enlarged.
QImage fitted(const QImage& picture, int pixels) {
    if (picture.width() <= pixels && picture.height() <= pixels)
        return picture;
    return picture.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

LoadedPicture decoded(const QString& file, int pixels) {
    QString error;
    const std::optional<QByteArray> bytes = pictureloader::readFile(file, &error);
    if (!bytes)
        return {{}, error};
    LoadedPicture reduced = pictureloader::decodeReduced(file, *bytes, QSize(pixels, pixels));
    if (reduced.ok())
        return reduced;
    return pictureloader::decode(file, *bytes);
}

} // namespace

QImage cached(const QString& file, int pixels) {
    const std::optional<Source> source = sourceOf(file);
    if (!source)
        return {};
    const int first = folderFor(pixels).pixels;
    if (QImage image = cachedFrom(*source, first); !image.isNull())
        return image;
    // Only smaller ones, if any: the largest of them.
    for (auto folder = kSizeFolders.rbegin(); folder != kSizeFolders.rend(); ++folder) {
        if (folder->pixels >= first)
            continue;
        CachedFile found = readCached(thumbnailPath(*folder, *source), *source);
        if (found.valid)
            return std::move(found.image);
    }
    return {};
}

Thumbnail thumbnail(const QString& file, int pixels) {
    const std::optional<Source> source = sourceOf(file);
    if (!source)
        return {{}, file + ": the file does not exist"};
    const SizeFolder& folder = folderFor(pixels);
    if (QImage image = cachedFrom(*source, folder.pixels); !image.isNull())
        return {std::move(image), {}};
    const QString failure = failurePath(*source);
    if (CachedFile failed = readCached(failure, *source); failed.valid)
        return {{}, failed.reason};

    const LoadedPicture picture = decoded(file, folder.pixels);
    if (!picture.ok()) {
        // The record is only a shortcut: a file we cannot record is tried again.
        QImage empty(1, 1, QImage::Format_ARGB32);
        empty.fill(Qt::transparent);
        writeCached(failure, empty, *source, picture.error);
        return {{}, picture.error};
    }
    QImage image = fitted(picture.image, folder.pixels);
    // A cache we cannot write to still gives the thumbnail.
    writeCached(thumbnailPath(folder, *source), image, *source);
    return {std::move(image), {}};
}

} // namespace thumbnails
