#pragma once
// JPEG files decoded straight into a QImage by libjpeg-turbo: about three
// times as fast as Qt's reader (which converts every row itself), and able to
// decode at 1/2, 1/4 or 1/8 size inside the DCT, which is all a preview or a
// print cell needs. The picture comes out as Qt's reader gives it (the same
// pixels, upright as the EXIF orientation says, with the stored resolution),
// then brought into sRGB from its embedded profile (see colour_profile.h).

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>
#include <optional>

namespace jpegreader {

// Whether the bytes are JPEG content and in a colour model decoded here
// (grey, YCbCr, RGB, CMYK).
bool handles(const QByteArray& bytes);

// The picture's size as it will be shown (after the EXIF orientation);
// nothing when the header cannot be read.
std::optional<QSize> uprightSize(const QByteArray& bytes);

// The largest reduction (8, 4, 2 or 1) whose decode of a picture of
// `upright` size still covers `atLeast` in both directions.
int reductionFor(QSize upright, QSize atLeast);

struct Result {
    QImage image;  // Format_RGB32; null on failure
    QString error; // why there is no picture, in the user's words (common/unreadable.h)
};

// Decodes at 1/reduction of the full size (1, 2, 4 or 8). A picture of more
// than maxPixels at that size is refused before anything is allocated.
// Setting `cancel` stops the decode at the next rows.
Result read(const QByteArray& bytes, int reduction, qint64 maxPixels,
            const std::atomic<bool>* cancel = nullptr);

// A 1/8-size picture for the screen from the DC coefficients alone, on two
// threads (see jpeg_dc.h): the same size as read(bytes, 8, …) and the same
// luma, with one colour sample a block. Pictures that reader does not take
// go through read().
Result readEighthForScreen(const QByteArray& bytes, qint64 maxPixels);

// Asks for transparent huge pages for a large buffer not yet written to:
// faulting 96 MB in 4 KB page by page can cost more than decoding a
// 24-megapixel JPEG into it.
void preferHugePages(void* fresh, size_t bytes);

} // namespace jpegreader
