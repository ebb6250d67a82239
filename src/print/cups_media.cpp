#include "print/cups_media.h"

#include "common/units.h"

namespace print {

Paper paperOf(const cups_size_t& size) {
    using units::hundredthsMmToPoints;
    const pwg_media_t* named = pwgMediaForSize(size.width, size.length);
    return {QString::fromUtf8(named ? named->pwg : size.media),
            QSizeF(hundredthsMmToPoints(size.width), hundredthsMmToPoints(size.length)),
            QMarginsF(hundredthsMmToPoints(size.left), hundredthsMmToPoints(size.top),
                      hundredthsMmToPoints(size.right), hundredthsMmToPoints(size.bottom))};
}

bool findMedia(http_t* http, cups_dest_t* dest, cups_dinfo_t* info, const QString& name,
               bool borderless, cups_size_t* size) {
    const int count = cupsGetDestMediaCount(http, dest, info, CUPS_MEDIA_FLAGS_DEFAULT);
    for (int i = 0; i < count; ++i)
        if (cupsGetDestMediaByIndex(http, dest, info, i, CUPS_MEDIA_FLAGS_DEFAULT, size) &&
            isBorderless(*size) == borderless && paperOf(*size).name == name)
            return true;
    return false;
}

} // namespace print
