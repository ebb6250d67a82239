#pragma once
// Reads a picture file for the previews: GIF, JPEG, BMP, ICO and the other
// formats Qt reads, upright as the camera meant it (EXIF orientation), and WMF
// drawings rendered through libwmf.

#include <QImage>
#include <QString>

struct LoadedPicture {
    QImage image;  // full resolution, what printing and the editor use
    QString error; // why nothing was loaded, for the log; empty on success
    bool ok() const { return !image.isNull(); }
};

namespace pictureloader {

// A larger picture is refused before anything is allocated for it: 24-megapixel
// photos are the daily case, 200 megapixels is far beyond any camera's.
constexpr qint64 MaxPixels = 200'000'000;

LoadedPicture load(const QString& fileName);

// Renders a WMF drawing; used by load() for ".wmf" files.
LoadedPicture loadWmf(const QString& fileName);

} // namespace pictureloader
