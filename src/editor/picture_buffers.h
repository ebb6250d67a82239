// Qt pictures as the imaging core sees them: raw 32-bit buffers. Qt Gui only, no widgets, so
// the command-line tools can use it.
#pragma once

#include "imaging/filter_engine.h"

#include <QImage>

namespace editor {

// A new picture of `format` (Format_RGB32, or Format_RGB888 for the undo history) with unset
// pixels; null when it cannot be had. At most 2^30 pixels.
QImage NewPicture(int width, int height, QImage::Format format = QImage::Format_RGB32);

// A picture's pixels as the engine and the transforms see them (the picture is Format_RGB32
// and already detached by the caller where it is written).
imaging::BitmapView viewOf(QImage& picture);
// For reading only: never copies a shared picture.
imaging::BitmapView readView(const QImage& picture);

} // namespace editor
