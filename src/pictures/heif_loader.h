#pragma once
// HEIF (HEIC photos from phones) and AVIF through libheif, which turns the
// picture as its irot/imir boxes say while decoding.

#include "pictures/picture_loader.h"

namespace pictureloader {

// Whether the content is a HEIF or AVIF file (by its "ftyp" box).
bool isHeif(const QByteArray& bytes);

// The primary picture, opaque and in sRGB (its ICC profile, or the colours
// its nclx box names, converted).
LoadedPicture decodeHeif(const QByteArray& bytes);

// The smallest thumbnail the file carries that covers `box` once the primary
// picture is fitted into it, decoded as the primary picture would be; when
// none does, the largest one with Quick::OrSmaller, else a null picture.
LoadedPicture decodeHeifThumbnail(const QByteArray& bytes, QSize box, Quick quick);

} // namespace pictureloader
