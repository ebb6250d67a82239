#pragma once
// HEIF (HEIC photos from phones) and AVIF through libheif, which turns the
// picture as its irot/imir boxes say while decoding.

#include "pictures/picture_loader.h"

namespace pictureloader {

// Whether the content is a HEIF or AVIF file (by its "ftyp" box).
bool isHeif(const QByteArray& bytes);

// The primary picture, opaque and in sRGB (its ICC profile, or the colours
// its nclx box names, converted); fileName names the file in errors.
LoadedPicture decodeHeif(const QString& fileName, const QByteArray& bytes);

} // namespace pictureloader
