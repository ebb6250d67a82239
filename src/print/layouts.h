#pragma once
// The package sheets and the single-picture sizes, written once as data.
// Printing and any preview of a sheet read these tables; nothing else
// repeats the numbers.
//
// All geometry is in twips (1440 to the inch) from the top-left corner of the
// printer's printable area, x to the right, y downwards. Neighbouring cells
// are 5 twips apart: the cut line.

#include <QRectF>
#include <algorithm>
#include <array>
#include <span>
#include <string_view>
#include <vector>

namespace print {

struct Cell {
    int picture; // its position among the package pictures, 0 … 18 (pictures/positions.h)
    float x;
    float y;
    short width;
    short height;
};

struct PackageLayout {
    std::string_view caption;    // "8x10", "5x7", "4x6", "3.5x5", "2.5x3.25"
    int checkIndex;              // 0..4: Check1 .. Check5
    int tab;                     // 0..4: the preview tab
    std::span<const Cell> cells; // in painting order
};

namespace detail {
inline constexpr Cell kCells8x10[] = {{0, 0, 0, 11520, 14400}};
inline constexpr Cell kCells5x7[] = {{1, 0, 0, 10080, 7200}, {2, 0, 7205, 10080, 7200}};
// The lower right 4x6 cell sits 10 twips from its neighbour, not 5.
inline constexpr Cell kCells4x6[] = {
    {3, 0, 0, 8640, 5760}, {4, 0, 5765, 5760, 8640}, {5, 5770, 5765, 5760, 8640}};
inline constexpr Cell kCells3x5[] = {{6, 0, 0, 5040, 7200},
                                     {7, 5045, 0, 5040, 7200},
                                     {8, 0, 7205, 5040, 7200},
                                     {9, 5045, 7205, 5040, 7200}};
inline constexpr Cell kCellsWallet[] = {
    {10, 0, 0, 3600, 4680},    {11, 3605, 0, 3600, 4680},    {12, 7210, 0, 3600, 4680},
    {13, 0, 4685, 3600, 4680}, {14, 3605, 4685, 3600, 4680}, {15, 7210, 4685, 3600, 4680},
    {16, 0, 9370, 3600, 4680}, {17, 3605, 9370, 3600, 4680}, {18, 7210, 9370, 3600, 4680}};
} // namespace detail

// In the fixed printing order.
inline constexpr std::array<PackageLayout, 5> kPackages = {{
    {"8x10", 0, 0, detail::kCells8x10},
    {"5x7", 1, 1, detail::kCells5x7},
    {"4x6", 2, 2, detail::kCells4x6},
    {"3.5x5", 3, 3, detail::kCells3x5},
    {"2.5x3.25", 4, 4, detail::kCellsWallet},
}};

// Packages to print, in the order they print.
using Packages = std::vector<const PackageLayout*>;

// The package with this caption, or nullptr.
const PackageLayout* packageByCaption(std::string_view caption);

// The cell the picture at `position` prints in, and its package; nullptr for
// a position on no sheet (the scanned picture).
const Cell* cellOf(int position);
const PackageLayout* packageOf(int position);

// One picture alone, at the size of a package's cell: "Vertical" upright on
// a portrait page, "Horizontal" turned a quarter on a landscape page.
struct SingleSize {
    std::string_view caption;
    short width; // upright: the smaller dimension across
    short height;
};

namespace detail {
constexpr SingleSize uprightCell(const PackageLayout& package) {
    const Cell& cell = package.cells.front();
    return {package.caption, std::min(cell.width, cell.height), std::max(cell.width, cell.height)};
}
} // namespace detail

// The package sizes, one picture each, largest first.
inline constexpr auto kSingleSizes = [] {
    std::array<SingleSize, kPackages.size()> sizes{};
    for (size_t i = 0; i < kPackages.size(); ++i)
        sizes[i] = detail::uprightCell(kPackages[i]);
    return sizes;
}();

const SingleSize* singleSizeByCaption(std::string_view caption);

// Single print size `size` (0..4, clamped).
const SingleSize& singleSize(int size);

// Its cell in twips from the printable origin: upright, or turned for a
// landscape page.
QRectF singleCell(int size, bool horizontal);

} // namespace print
