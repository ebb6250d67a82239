#pragma once
// Pictures turned upright as the camera meant them. Qt's readers read the
// EXIF orientation of JPEG and TIFF files themselves; PNG (its eXIf chunk)
// and WebP (its EXIF chunk) carry it too, and those readers leave it unread.

#include <QByteArrayView>
#include <QImage>
#include <QImageIOHandler>

namespace upright {

// The orientation a PNG or WebP file's EXIF block gives, as Qt names the
// turns; none for other files, no block or a block that cannot be read.
QImageIOHandler::Transformations pngOrWebpTurns(QByteArrayView file);

// Turns the picture upright the way Qt's reader does: mirror and flip first,
// then the quarter turn.
QImage apply(QImage image, QImageIOHandler::Transformations t);

} // namespace upright
