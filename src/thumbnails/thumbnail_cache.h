#pragma once
// Thumbnails of picture files through the cache the desktop's programs share
// (see thumbnail_file.h): one the file manager made is used as it is, and
// ours serve the file manager in turn.

#include <QImage>
#include <QString>

namespace thumbnails {

struct Thumbnail {
    QImage image;  // null when none could be made
    QString error; // why, in words ("the file is damaged"); empty on success
};

// A valid thumbnail of `file` from the shared cache, made by any program: the
// smallest cached one whose folder holds at least `pixels` on the longer side,
// else the largest valid one; null when none. Its size is its folder's (at
// most), for the caller to scale down.
QImage cached(const QString& file, int pixels);

// A cached one of at least `pixels`, else made by the quick reduced decode and
// written to the cache (the folder for `pixels`); a file that cannot be read
// is recorded in fail/parvello-<version>/ and not tried again until it changes
// (then `error` says why it failed). Safe from any thread.
Thumbnail thumbnail(const QString& file, int pixels);

} // namespace thumbnails
