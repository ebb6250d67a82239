#pragma once
// The canvases a HEIF file's derived pictures ask for. A grid (how phones
// store their photos, in 512-pixel tiles) or an overlay names its output size
// in its own few bytes, which libheif allocates before it checks them against
// anything; the picture's "ispe" size may say otherwise. Read here, from the
// boxes, so the loader can refuse a huge canvas before libheif makes it.

#include <QByteArray>
#include <QtGlobal>

namespace pictureloader {

// The largest canvas, in pixels, of the file's grid and overlay pictures:
// 0 when it has none, or when its boxes cannot be read (libheif then refuses
// the file itself).
qint64 largestHeifCanvas(const QByteArray& bytes);

} // namespace pictureloader
