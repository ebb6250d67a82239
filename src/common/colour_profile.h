#pragma once
// Pictures brought into sRGB as they are loaded, so that the screen and the
// printer (which both take what they receive as sRGB) show a camera's Adobe
// RGB or a phone's Display P3 the way other photo programs do. A picture
// without a profile is taken as sRGB and costs nothing here.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace colour {

// Turns the pixels of an RGB32 or ARGB32 picture from the colour space of
// `icc` (the embedded profile's bytes; empty: the image's own colour space)
// into sRGB and labels the picture sRGB. Qt converts the profiles it
// understands; LittleCMS the rest. Nothing is done for sRGB, for no profile,
// or for a profile that cannot be read (then the picture is taken as sRGB).
void toSrgb(QImage& image, const QByteArray& icc = {});

// Converts, in place, rows of CMYK pixels (four bytes each; `inverted` when
// stored the Adobe way, 255 for no ink) into RGB32 pixels. With a CMYK
// profile LittleCMS converts through it; without one, each ink simply
// takes away its share of light, which is what most readers do.
void cmykToRgb(QImage& cmykPixels, bool inverted, const QByteArray& icc);

} // namespace colour
