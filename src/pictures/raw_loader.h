#pragma once
// Camera raw files (DNG, CR2, CR3, NEF, ARW, ORF, RAF, RW2) developed through
// LibRaw with the white balance the camera chose, into sRGB, turned as the
// camera says.

#include "pictures/picture_loader.h"

namespace pictureloader {

// The developed picture.
LoadedPicture decodeRaw(const QByteArray& bytes);

// The preview the camera put in the file (mostly a JPEG), turned as the
// developed picture is, when it covers `box` once the picture is fitted into
// it or Quick::OrSmaller takes it anyway; else a null picture.
LoadedPicture decodeRawPreview(const QByteArray& bytes, QSize box, Quick quick);

} // namespace pictureloader
