#pragma once
// Saving a picture in one of the formats of the table, with the writer the
// table names for it: our bitmap writer, our GIF writer or one of Qt's.

#include "pictures/picture_formats.h"
#include "pictures/writeresult.h"

#include <QImage>
#include <QString>

namespace pictures {

// Writes the picture (alpha ignored) to path in the format; quality (0 ... 100,
// or -1 for the writer's own) counts for the writers that take one. The write
// goes to a temporary file first, so a failure never damages an existing file.
WriteResult savePicture(const QImage& picture, const QString& path, const PictureFormat& format,
                        int quality);

} // namespace pictures
