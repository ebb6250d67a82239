#pragma once
// Reads a picture file for the previews and the print cells: JPEG, PNG (8 and
// 16 bits), TIFF (its first page), WebP, HEIF and AVIF (through libheif, see
// heif_loader.h), camera raw files (through LibRaw, see raw_loader.h), GIF,
// BMP, ICO and the other formats Qt reads, upright as the camera meant it
// (EXIF orientation), and WMF drawings (see picture_formats.h) rendered
// through libwmf. JPEG goes straight through libjpeg-turbo, which can also
// give a reduced picture quickly for the screen; HEIF and raw files offer the
// small picture they carry. Every picture comes out opaque (a transparent one
// laid on white, as on paper) and in sRGB (see common/colour_profile.h).

#include <QByteArray>
#include <QImage>
#include <QString>
#include <atomic>
#include <optional>

struct LoadedPicture {
    QImage image; // what printing and the editor use
    // Why nothing was loaded, in the user's words (common/unreadable.h: "the
    // file is damaged"), without the file's name; empty on success.
    QString error;
    // The full picture's upright size, when a reduced decode knows it.
    QSize fullSize = {};
    bool ok() const { return !image.isNull(); }
};

namespace pictureloader {

// A larger picture is refused before anything is allocated for it, by every
// reader: 24-megapixel photos are the daily case, 200 megapixels is far beyond
// any camera's.
constexpr qint64 MaxPixels = 200'000'000;
// No picture we accept takes more room in its file than in memory.
constexpr qint64 MaxFileBytes = MaxPixels * 4;

// Reads and decodes the file at full resolution.
LoadedPicture load(const QString& fileName);

// The file's content, read once for the decodes below; nothing (and the
// reason in `error`) when it cannot be read.
std::optional<QByteArray> readFile(const QString& fileName, QString* error);

// The full picture from the file's content (fileName gives the WMF
// extension and the name in errors). Setting `cancel` stops a JPEG decode.
LoadedPicture decode(const QString& fileName, const QByteArray& bytes,
                     const std::atomic<bool>* cancel = nullptr);

// The same, with a JPEG decoded at the largest DCT reduction that still covers
// `atLeast` in both directions: all a print cell of that many pixels needs.
LoadedPicture decodeCovering(const QString& fileName, const QByteArray& bytes, QSize atLeast,
                             const std::atomic<bool>* cancel = nullptr);

// Whether a quick picture must cover its box. The previews take a smaller
// one to show at once and sharpen it from the full decode; a thumbnail kept
// on disk must be right as it is.
enum class Quick { Covering, OrSmaller };

// A quick picture for the screen that still covers `box` once fitted into it
// with its proportions kept: a JPEG decoded at the largest DCT reduction that
// does, or the small picture a HEIF or raw file carries when it is large
// enough (with Quick::OrSmaller, the largest it carries even when it is not);
// `fullSize` says how large the full picture will be. A null picture when
// there is no such quick way.
LoadedPicture decodeReduced(const QString& fileName, const QByteArray& bytes, QSize box,
                            Quick quick = Quick::Covering);

// An opaque RGB32 picture: a transparent one laid on white, as it prints on
// paper.
QImage overWhite(QImage image);

// Renders a WMF drawing; used by load() for ".wmf" files.
LoadedPicture loadWmf(const QString& fileName);

} // namespace pictureloader
