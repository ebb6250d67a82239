#pragma once
// Windows bitmap files of our own for "Save": 24-bit uncompressed bottom-up
// files, which every picture program reads.

#include "pictures/writeresult.h"

#include <QImage>

class QIODevice;

namespace pictures {

// Writes the picture (alpha ignored) as a 24-bit bitmap to a device.
WriteResult writeWindowsBitmap(const QImage& picture, QIODevice& out);

} // namespace pictures
