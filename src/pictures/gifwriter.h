#pragma once
// GIF files through giflib. A picture of at most 256 colours keeps its exact
// colours; any other picture is reduced to a 256-colour palette by
// libimagequant, with dithering, so photographs keep smooth gradients.

#include "pictures/writeresult.h"

#include <QImage>

class QIODevice;

namespace pictures {

// Writes the picture (alpha ignored) as a single-frame GIF to a device.
WriteResult writeGif(const QImage& picture, QIODevice& out);

} // namespace pictures
