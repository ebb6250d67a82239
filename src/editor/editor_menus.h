// The editor's three filter menus and their items in order: the caption with the & of its
// access key, and the filter code and parameter it runs. Colours are imaging::RgbColour values.
#pragma once

#include "imaging/filter_engine.h"

#include <cstdint>
#include <string_view>

namespace editor {

struct EditorMenu {
    std::string_view control; // the menu's control name
    std::string_view caption;
};

struct EditorMenuItem {
    int menu;                 // index into kEditorMenus
    std::string_view control; // the item's control name
    std::string_view caption;
    int code; // the filter it runs
    std::int32_t value;
    bool separator = false; // a line between groups: no caption, runs nothing
};

constexpr EditorMenuItem Separator(int menu, std::string_view control) {
    return {menu, control, {}, 0, 0, true};
}

inline constexpr EditorMenu kEditorMenus[] = {
    {"normal", "&Normal"},
    {"Special", "&Special"},
    {"colors", "&Colors"},
};

using imaging::RgbColour;

inline constexpr EditorMenuItem kEditorMenuItems[] = {
    {0, "blur", "&Blur", 3, 0},
    {0, "diffuse", "&Diffuse", 4, 6},
    {0, "sharpen", "S&harpen", 1, 2},
    {0, "smooth", "&Smooth", 5, 0},
    {1, "addnoise", "&Add Noise", 29, 50},
    {1, "contour", "&Contour", 7, RgbColour(255, 255, 255)},
    {1, "dilate", "&Dilate", 25, 0},
    {1, "emboss", "&Emboss", 8, RgbColour(0, 120, 120)},
    {1, "engrave", "E&ngrave", 10, RgbColour(0, 120, 120)},
    {1, "edgedetect", "Ed&ge Detect", 27, 0},
    {1, "edgeenhance", "Edge En&hance", 6, 1},
    {1, "erode", "Er&ode", 26, 0},
    {1, "relief", "&Relief", 13, 0},
    {2, "blackandwhite", "&Black & White", 18, RgbColour(180, 180, 180)},
    {2, "grayscale", "&Gray Scale", 12, 0},
    {2, "negative", "&Negative", 2, 0},
    Separator(2, "blankie"),
    {2, "increasecontrast", "Contrast +", 17, 10},
    {2, "decreasecontrast", "Contrast -", 17, -10},
    Separator(2, "blankerer"),
    {2, "increasesaturation", "Saturation +", 30, 15},
    {2, "decreasesaturation", "Saturation -", 30, -15},
};

// The item whose control is `control`, or nullptr.
constexpr const EditorMenuItem* FindEditorMenuItem(std::string_view control) {
    for (const EditorMenuItem& item : kEditorMenuItems)
        if (item.control == control)
            return &item;
    return nullptr;
}

} // namespace editor
