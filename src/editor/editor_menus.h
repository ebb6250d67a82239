// The editor's three filter menus and their items in order. The caption, filter code and
// parameter of each item come from the filter table; the two separators run no command.
#pragma once

#include <string_view>

namespace editor {

struct EditorMenu {
    std::string_view control; // the menu's control name
    std::string_view caption;
};

struct EditorMenuEntry {
    int menu;                 // index into kEditorMenus
    std::string_view control; // the item's control name
};

inline constexpr EditorMenu kEditorMenus[] = {
    {"normal", "&Normal"},
    {"Special", "&Special"},
    {"colors", "&Colors"},
};

inline constexpr EditorMenuEntry kEditorMenuEntries[] = {
    {0, "blur"},
    {0, "diffuse"},
    {0, "sharpen"},
    {0, "smooth"},
    {1, "addnoise"},
    {1, "contour"},
    {1, "dilate"},
    {1, "emboss"},
    {1, "engrave"},
    {1, "edgedetect"},
    {1, "edgeenhance"},
    {1, "erode"},
    {1, "relief"},
    {2, "blackandwhite"},
    {2, "grayscale"},
    {2, "negative"},
    {2, "blankie"},
    {2, "increasecontrast"},
    {2, "decreasecontrast"},
    {2, "blankerer"},
    {2, "increasesaturation"},
    {2, "decreasesaturation"},
};

constexpr bool IsSeparator(std::string_view control) {
    return control == "blankie" || control == "blankerer";
}

} // namespace editor
