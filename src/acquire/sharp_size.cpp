#include "acquire/sharp_size.h"

#include "common/units.h"
#include "print/layouts.h"

#include <algorithm>

namespace acquire {

namespace {

constexpr int sharpPpi = 300;

int pixelsFor(int twips) {
    return (twips * sharpPpi + units::kTwipsPerInch - 1) / units::kTwipsPerInch;
}

} // namespace

QString sharpSizeText(QSize pixels) {
    const int shortSide = std::min(pixels.width(), pixels.height());
    const int longSide = std::max(pixels.width(), pixels.height());
    const QString size = QStringLiteral("%1 × %2 pixels").arg(pixels.width()).arg(pixels.height());
    // The sizes run from the largest down.
    for (const print::SingleSize& s : print::kSingleSizes)
        if (shortSide >= pixelsFor(s.width) && longSide >= pixelsFor(s.height))
            return QStringLiteral("%1: sharp up to %2")
                .arg(size, QString::fromLatin1(s.caption.data(), qsizetype(s.caption.size())));
    const print::SingleSize& smallest = print::kSingleSizes.back();
    return QStringLiteral("%1: too few for a sharp %2")
        .arg(size,
             QString::fromLatin1(smallest.caption.data(), qsizetype(smallest.caption.size())));
}

} // namespace acquire
