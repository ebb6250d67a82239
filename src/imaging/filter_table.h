// The filters as data: what each code runs, what its parameter means, and the editor's menu
// items that request it. Written once; the engine, the editor's menus and the tests read it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace imaging {

struct FilterInfo {
    int code;
    std::string_view routine;   // the routine that the code runs
    std::string_view parameter; // what the parameter means ("none": ignored)
};

// One editor menu command. `value` is the parameter it passes; colours are red in the lowest
// byte, green in the next and blue in the third.
struct FilterMenuItem {
    std::string_view control; // the menu item's control name
    std::string_view caption; // its caption, with the & of its access key
    int code;
    std::int32_t value;
};

constexpr std::int32_t RgbColour(int red, int green, int blue) {
    return red | (green << 8) | (blue << 16);
}

inline constexpr FilterInfo kFilters[] = {
    {1, "FilterSharpen", "strength"},
    {2, "FilterNegative", "none"},
    {3, "FilterBlur", "none"},
    {4, "FilterDiffuse", "spread"},
    {5, "FilterSmooth", "none"},
    {6, "FilterEdgeEnhance", "strength"},
    {7, "FilterContour", "colour offset"},
    {8, "FilterEmboss", "colour offset"},
    {9, "FilterEmbossGradient", "colour offset"},
    {10, "FilterEngrave", "colour offset"},
    {11, "FilterEngraveGradient", "colour offset"},
    {12, "FilterGrayScale", "none"},
    {13, "FilterRelief", "none"},
    {14, "FilterBrightness", "amount in percent"},
    {15, "FilterMosaic", "block size"},
    {16, "FilterSwapChannels", "choice 1 to 5"},
    {17, "FilterContrast", "amount in percent"},
    {18, "FilterBlackAndWhite", "threshold colour"},
    {19, "FilterSharpThreshold", "none"},
    {20, "FilterOrderedDither", "none"},
    {21, "FilterErrorDiffusion", "error scale"}, // Floyd-Steinberg pattern
    {22, "FilterErrorDiffusion", "error scale"}, // Burkes pattern
    {23, "FilterErrorDiffusion", "error scale"}, // Stucki pattern
    {24, "FilterKuwahara", "none"},
    {25, "FilterDilate", "none"},
    {26, "FilterErode", "none"},
    {27, "FilterEdgeDetect", "none"},
    {28, "FilterStretchLevels", "none"},
    {29, "FilterAddNoise", "amplitude"},
    {30, "FilterSaturation", "amount in percent"},
    {31, "FilterGamma", "gamma in percent"},
};

inline constexpr FilterMenuItem kFilterMenuItems[] = {
    {"sharpen", "S&harpen", 1, 2},
    {"negative", "&Negative", 2, 0},
    {"blur", "&Blur", 3, 0},
    {"diffuse", "&Diffuse", 4, 6},
    {"smooth", "&Smooth", 5, 0},
    {"edgeenhance", "Edge Enhan&ce", 6, 1},
    {"contour", "&Contour", 7, RgbColour(255, 255, 255)},
    {"emboss", "&Emboss", 8, RgbColour(0, 120, 120)},
    {"engrave", "E&ngrave", 10, RgbColour(0, 120, 120)},
    {"grayscale", "Gray Scale", 12, 0},
    {"relief", "&Relief", 13, 0},
    {"increasecontrast", "Contrast +", 17, 10},
    {"decreasecontrast", "Contrast -", 17, -10},
    {"blackandwhite", "&Black & White", 18, RgbColour(180, 180, 180)},
    {"dilate", "&Dilate", 25, 0},
    {"erode", "Er&ode", 26, 0},
    {"edgedetect", "Ed&ge Detect", 27, 0},
    {"addnoise", "&Add Noise", 29, 50},
    {"increasesaturation", "Saturation +", 30, 15},
    {"decreasesaturation", "Saturation -", 30, -15},
};

inline constexpr int kFirstFilterCode = 1;
inline constexpr int kLastFilterCode = 31;

// The entry of `code`, or nullptr for a code that runs no filter.
constexpr const FilterInfo* FindFilter(int code) {
    for (const FilterInfo& f : kFilters)
        if (f.code == code)
            return &f;
    return nullptr;
}

constexpr const FilterMenuItem* FindFilterMenuItem(std::string_view control) {
    for (const FilterMenuItem& m : kFilterMenuItems)
        if (m.control == control)
            return &m;
    return nullptr;
}

} // namespace imaging
