#pragma once
// The tabs of the main window and the preview images on them, with their place
// on the tab page in twips. The boxes are screen thumbnails: their proportions
// follow the screen layout, not the print sizes.

#include "print/layouts.h"

#include <QString>
#include <array>

struct PreviewBox {
    int image; // 1 … 20: Image1 … Image20
    int tab;
    int left, top, width, height;
    const char* toolTip;
};

// One tab for each package, captioned as the package, then this one.
inline constexpr int ScanTab = int(print::kPackages.size());
inline constexpr const char* ScanTabCaption = "Scan";
inline constexpr int PreviewCount = 19; // Image20, the scanned picture, is not a print position

inline constexpr std::array<PreviewBox, 20> PreviewBoxes = {{
    {1, 0, 120, 480, 5535, 5085, "8x10 Picture"},
    {2, 1, 120, 480, 5535, 2445, "5x7 Picture #1"},
    {3, 1, 120, 3000, 5535, 2565, "5x7 Picture #2"},
    {4, 2, 120, 480, 5535, 2325, "4x6 Picture #1"},
    {5, 2, 120, 2880, 2800, 2685, "4x6 Picture #2"},
    {6, 2, 2990, 2880, 2665, 2685, "4x6 Picture #3"},
    {7, 3, 120, 480, 2775, 2595, "3.5x5 Picture #1"},
    {8, 3, 2950, 480, 2695, 2595, "3.5x5 Picture #2"},
    {9, 3, 120, 3120, 2775, 2445, "3.5x5 Picture #3"},
    {10, 3, 2950, 3120, 2695, 2445, "3.5x5 Picture #4"},
    {11, 4, 120, 480, 1815, 1605, "2.5x3.25 Picture #1"},
    {12, 4, 2025, 480, 1815, 1605, "2.5x3.25 Picture #2"},
    {13, 4, 3960, 480, 1695, 1605, "2.5x3.25 Picture #3"},
    {14, 4, 120, 2160, 1815, 1725, "2.5x3.25 Picture #4"},
    {15, 4, 2040, 2160, 1815, 1725, "2.5x3.25 Picture #5"},
    {16, 4, 3960, 2160, 1695, 1725, "2.5x3.25 Picture #6"},
    {17, 4, 120, 3960, 1815, 1605, "2.5x3.25 Picture #7"},
    {18, 4, 2040, 3960, 1815, 1605, "2.5x3.25 Picture #8"},
    {19, 4, 3960, 3960, 1695, 1605, "2.5x3.25 Picture #9"},
    {20, 5, 120, 480, 5535, 4455, "Scanned Picture"},
}};

inline QString imageName(int image) {
    return QStringLiteral("Image%1").arg(image);
}
