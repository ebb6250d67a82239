#pragma once
// The tabs of the main window and the preview images on them, with their place
// on the tab page in twips. The boxes are screen thumbnails: their proportions
// follow the screen layout, not the print sizes.

#include "print/captions.h"
#include "print/layouts.h"

#include <QString>
#include <array>

struct PreviewBox {
    int image; // 1 … 20: Image1 … Image20
    int left, top, width, height;
};

// One tab for each package, captioned as the package, then this one.
inline constexpr int ScanTab = int(print::kPackages.size());
inline constexpr const char* ScanTabCaption = "Scan";
inline constexpr int PreviewCount = 19; // Image20, the scanned picture, is not a print position

inline constexpr std::array<PreviewBox, 20> PreviewBoxes = {{
    {1, 120, 480, 5535, 5085},    {2, 120, 480, 5535, 2445},   {3, 120, 3000, 5535, 2565},
    {4, 120, 480, 5535, 2325},    {5, 120, 2880, 2800, 2685},  {6, 2990, 2880, 2665, 2685},
    {7, 120, 480, 2775, 2595},    {8, 2950, 480, 2695, 2595},  {9, 120, 3120, 2775, 2445},
    {10, 2950, 3120, 2695, 2445}, {11, 120, 480, 1815, 1605},  {12, 2025, 480, 1815, 1605},
    {13, 3960, 480, 1695, 1605},  {14, 120, 2160, 1815, 1725}, {15, 2040, 2160, 1815, 1725},
    {16, 3960, 2160, 1695, 1725}, {17, 120, 3960, 1815, 1605}, {18, 2040, 3960, 1815, 1605},
    {19, 3960, 3960, 1695, 1605}, {20, 120, 480, 5535, 4455},
}};

// The tab preview `image` sits on: its package's, or "Scan" for Image20.
inline int previewTab(int image) {
    for (const print::PackageLayout& package : print::kPackages)
        for (const print::Cell& cell : package.cells)
            if (cell.picture == image - 1)
                return package.tab;
    return ScanTab;
}

// "5x7 Picture #2": the package's caption and the picture's place among its
// cells, "#n" only where the package has more than one.
inline QString previewToolTip(int image) {
    for (const print::PackageLayout& package : print::kPackages)
        for (size_t i = 0; i < package.cells.size(); ++i)
            if (package.cells[i].picture == image - 1) {
                const QString tip = print::caption(package.caption) + QStringLiteral(" Picture");
                return package.cells.size() == 1 ? tip : tip + QStringLiteral(" #%1").arg(i + 1);
            }
    return QStringLiteral("Scanned Picture");
}

inline QString imageName(int image) {
    return QStringLiteral("Image%1").arg(image);
}
