#include "print/soft_prints.h"

#include "common/sharpness.h"
#include "common/units.h"
#include "pictures/package_pictures.h"
#include "print/layouts.h"

#include <vector>

namespace print {

namespace {

// What a print of this size is called in a sentence: "wallet" for the
// smallest, the caption for the others.
QString printName(std::string_view caption) {
    if (caption == "2.5x3.25")
        return QStringLiteral("wallet");
    return QString::fromUtf8(caption.data(), qsizetype(caption.size()));
}

QString sentence(int prints, const QString& name, const QSize& picture) {
    const bool one = prints == 1;
    return QStringLiteral("%1 %2 %3 will look soft: %4 picture is %5 × %6 pixels.")
        .arg(QString::number(prints), name, one ? "print" : "prints", one ? "its" : "their",
             QString::number(picture.width()), QString::number(picture.height()));
}

} // namespace

double printPixelsPerInch(const QSize& picture, const QSizeF& twips, const CellOptions& options) {
    return imaging::pixelsPerInch(cellMapping(picture, twips, options), units::kTwipsPerInch);
}

double largestZoom(const QSize& picture, const QSizeF& twips, const CellOptions& options) {
    CellOptions whole = options;
    whole.framing.zoom = 1;
    return std::max(1.0,
                    printPixelsPerInch(picture, twips, whole) / sharpness::kSharpPixelsPerInch);
}

bool looksSoft(const QSize& picture, const QSizeF& twips, const CellOptions& options) {
    return !picture.isEmpty() &&
           !sharpness::looksSharp(printPixelsPerInch(picture, twips, options));
}

QStringList softPackageWarnings(const Packages& packages, const PackagePictures& pictures,
                                const PrintOptions& options) {
    QStringList warnings;
    for (const PackageLayout* p : packages) {
        const PackageLayout& package = *p;
        // The soft prints of this sheet, counted by picture size.
        std::vector<std::pair<QSize, int>> soft;
        for (const Cell& cell : package.cells) {
            const QSize size = pictures.size(cell.picture);
            if (!looksSoft(size, QSizeF(cell.width, cell.height),
                           cellOptions(options, pictures.framing(cell.picture))))
                continue;
            auto same = std::find_if(soft.begin(), soft.end(),
                                     [&](const auto& s) { return s.first == size; });
            if (same == soft.end())
                soft.push_back({size, 1});
            else
                ++same->second;
        }
        for (const auto& [size, prints] : soft)
            warnings << sentence(prints, printName(package.caption), size);
    }
    return warnings;
}

QString softSingleWarning(const QSize& picture, int sizeIndex, bool horizontal,
                          const CellOptions& options) {
    const SingleSize& size = singleSize(sizeIndex);
    if (!looksSoft(picture, singleCell(sizeIndex, horizontal).size(), options))
        return {};
    return sentence(1, printName(size.caption), picture);
}

} // namespace print
