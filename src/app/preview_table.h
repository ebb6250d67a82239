#pragma once
// The tabs of the main window and the preview images on them, with their place
// on the tab page in twips. The boxes are screen thumbnails: their proportions
// follow the screen layout, not the print sizes.

#include "pictures/positions.h"
#include "print/captions.h"
#include "print/layouts.h"

#include <QString>
#include <array>

struct PreviewBox {
    int position; // 0 … 19 (pictures/positions.h)
    int left, top, width, height;
};

// One tab for each package, captioned as the package, then this one.
inline constexpr int ScanTab = int(print::kPackages.size());
inline constexpr const char* ScanTabCaption = "Scan";

inline constexpr std::array<PreviewBox, positions::kCount> PreviewBoxes = {{
    {0, 120, 480, 5535, 5085},    {1, 120, 480, 5535, 2445},   {2, 120, 3000, 5535, 2565},
    {3, 120, 480, 5535, 2325},    {4, 120, 2880, 2800, 2685},  {5, 2990, 2880, 2665, 2685},
    {6, 120, 480, 2775, 2595},    {7, 2950, 480, 2695, 2595},  {8, 120, 3120, 2775, 2445},
    {9, 2950, 3120, 2695, 2445},  {10, 120, 480, 1815, 1605},  {11, 2025, 480, 1815, 1605},
    {12, 3960, 480, 1695, 1605},  {13, 120, 2160, 1815, 1725}, {14, 2040, 2160, 1815, 1725},
    {15, 3960, 2160, 1695, 1725}, {16, 120, 3960, 1815, 1605}, {17, 2040, 3960, 1815, 1605},
    {18, 3960, 3960, 1695, 1605}, {19, 120, 480, 5535, 4455},
}};

// The tab the preview of `position` sits on: its package's, or "Scan".
inline int previewTab(int position) {
    const print::PackageLayout* package = print::packageOf(position);
    return package ? package->tab : ScanTab;
}

// The place of the picture at `position` among its package's cells, from 1.
inline int cellNumber(const print::PackageLayout& package, int position) {
    return int(print::cellOf(position) - package.cells.data()) + 1;
}

// "5x7 Picture #2": the package's caption and the picture's place among its
// cells, "#n" only where the package has more than one.
inline QString previewToolTip(int position) {
    const print::PackageLayout* package = print::packageOf(position);
    if (!package)
        return QStringLiteral("Scanned Picture");
    const QString tip = print::caption(package->caption) + QStringLiteral(" Picture");
    if (package->cells.size() == 1)
        return tip;
    return tip + QStringLiteral(" #%1").arg(cellNumber(*package, position));
}

// What a screen reader says of a preview: "4x6 print 2 of 3: coffee.jpg",
// with "empty" for a preview without a picture and "unnamed picture" for
// one that came from no file (a scan).
inline QString previewAccessibleName(int position, bool empty, const QString& fileName) {
    const QString picture = empty                ? QStringLiteral("empty")
                            : fileName.isEmpty() ? QStringLiteral("unnamed picture")
                                                 : fileName;
    const print::PackageLayout* package = print::packageOf(position);
    if (!package)
        return previewToolTip(position) + QStringLiteral(": ") + picture;
    return QStringLiteral("%1 print %2 of %3: %4")
        .arg(print::caption(package->caption))
        .arg(cellNumber(*package, position))
        .arg(package->cells.size())
        .arg(picture);
}

// The name of the preview of `position` on the window, "Image1" … "Image20":
// the only place positions are counted from 1.
inline QString imageName(int position) {
    return QStringLiteral("Image%1").arg(position + 1);
}
