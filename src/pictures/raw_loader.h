#pragma once
// Camera raw files (DNG) developed through LibRaw with the white balance the
// camera chose, into sRGB, turned as the camera says.

#include "pictures/picture_loader.h"

namespace pictureloader {

// The developed picture; fileName names the file in errors.
LoadedPicture decodeRaw(const QString& fileName, const QByteArray& bytes);

} // namespace pictureloader
