#include "acquire/sharp_size.h"

#include "common/sharpness.h"
#include "common/units.h"
#include "print/layouts.h"

#include <algorithm>

namespace acquire {

namespace {

// The pixels an inch a print of this size gets when the picture fills it,
// cropped and turned to fit.
double pixelsPerInch(QSize pixels, const print::SingleSize& size) {
    const double shortSide = std::min(pixels.width(), pixels.height());
    const double longSide = std::max(pixels.width(), pixels.height());
    return std::min(shortSide / size.width, longSide / size.height) * units::kTwipsPerInch;
}

QString caption(const print::SingleSize& size) {
    return QString::fromLatin1(size.caption.data(), qsizetype(size.caption.size()));
}

} // namespace

QString sharpSizeText(QSize pixels) {
    // The sizes run from the largest down.
    for (const print::SingleSize& s : print::kSingleSizes)
        if (const double ppi = pixelsPerInch(pixels, s); sharpness::looksSharp(ppi))
            return sharpness::sharpnessText(pixels, "sharp up to " + caption(s), ppi);
    const print::SingleSize& smallest = print::kSingleSizes.back();
    return sharpness::sharpnessText(pixels, "too few for a sharp " + caption(smallest),
                                    pixelsPerInch(pixels, smallest));
}

} // namespace acquire
