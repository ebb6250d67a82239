#include "print/layouts.h"

namespace print {

const PackageLayout* packageByCaption(std::string_view caption) {
    for (const PackageLayout& p : kPackages)
        if (p.caption == caption)
            return &p;
    return nullptr;
}

const Cell* cellOf(int position) {
    for (const PackageLayout& p : kPackages)
        for (const Cell& c : p.cells)
            if (c.picture == position)
                return &c;
    return nullptr;
}

const PackageLayout* packageOf(int position) {
    for (const PackageLayout& p : kPackages)
        for (const Cell& c : p.cells)
            if (c.picture == position)
                return &p;
    return nullptr;
}

const SingleSize* singleSizeByCaption(std::string_view caption) {
    for (const SingleSize& s : kSingleSizes)
        if (s.caption == caption)
            return &s;
    return nullptr;
}

const SingleSize& singleSize(int size) {
    return kSingleSizes[size_t(std::clamp(size, 0, int(kSingleSizes.size()) - 1))];
}

QRectF singleCell(int size, bool horizontal) {
    const SingleSize& s = singleSize(size);
    return horizontal ? QRectF(0, 0, s.height, s.width) : QRectF(0, 0, s.width, s.height);
}

} // namespace print
