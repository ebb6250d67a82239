#pragma once
// Windows bitmap files of our own: the scanner's staging file and the "Save"
// button's upper-case ".BMP" names. The writer makes 24-bit uncompressed
// bottom-up files, which every picture program reads.

#include "acquire/writeresult.h"

#include <QImage>
#include <QString>

class QIODevice;

namespace acquire {

// Writes the picture (alpha ignored) as a 24-bit bitmap to a device.
WriteResult writeWindowsBitmap(const QImage& picture, QIODevice& out);
// The same to a file, atomically: a failed write leaves an older file untouched.
WriteResult writeWindowsBitmap(const QImage& picture, const QString& path);

// Reads an uncompressed 24- or 32-bit bitmap (bottom-up or top-down) into an
// RGB32 picture. Anything else, or a damaged file, gives a null picture and
// a description in *error.
QImage readWindowsBitmap(const QString& path, QString* error = nullptr);

} // namespace acquire
