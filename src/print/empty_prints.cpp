#include "print/empty_prints.h"

#include "pictures/package_pictures.h"
#include "print/captions.h"

#include <algorithm>

namespace print {

namespace {

int emptyCells(const PackageLayout& package, const PackagePictures& pictures) {
    return int(std::count_if(package.cells.begin(), package.cells.end(),
                             [&](const Cell& cell) { return pictures.isEmpty(cell.picture); }));
}

} // namespace

QStringList packagesWithoutPicture(const Packages& packages, const PackagePictures& pictures) {
    QStringList sentences;
    for (const PackageLayout* package : packages)
        if (emptyCells(*package, pictures) == int(package->cells.size()))
            sentences << QStringLiteral("The %1 package has no picture yet.")
                             .arg(caption(package->caption));
    return sentences;
}

QStringList emptyPrintWarnings(const Packages& packages, const PackagePictures& pictures) {
    QStringList sentences;
    for (const PackageLayout* package : packages) {
        const int empty = emptyCells(*package, pictures);
        const int all = int(package->cells.size());
        if (empty == 0 || empty == all)
            continue;
        sentences << (empty == 1 ? QStringLiteral("1 of the %2 %3 prints has no picture: it "
                                                  "stays blank.")
                                 : QStringLiteral("%1 of the %2 %3 prints have no picture: they "
                                                  "stay blank.")
                                       .arg(empty))
                         .arg(all)
                         .arg(caption(package->caption));
    }
    return sentences;
}

} // namespace print
