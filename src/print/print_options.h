#pragma once
// The choices of the main window's "Package Options" frame that change how
// a sheet looks, shared by the window, the settings file and parvello-print.

#include "imaging/cell_mapping.h"

#include <array>
#include <string_view>

namespace print {

// Copies of each ticked package: the spinner's range, the settings file's and
// parvello-print's --copies.
inline constexpr int kMinCopies = 1;
inline constexpr int kMaxCopies = 5;

struct PrintOptions {
    // Stretch is what Parvello always did; the window starts new users on crop.
    imaging::FillMode fill = imaging::FillMode::Stretch;
    bool turnToFit = true;
    bool cutGuides = false;
};

struct FillModeName {
    imaging::FillMode mode;
    std::string_view caption; // in the window
    std::string_view word;    // in the settings file and on the command line
};

inline constexpr std::array<FillModeName, 3> kFillModes = {{
    {imaging::FillMode::Stretch, "Stretch", "stretch"},
    {imaging::FillMode::Crop, "Crop to fill", "crop"},
    {imaging::FillMode::Fit, "Fit", "fit"},
}};

// The mode of this word, or nullptr.
inline const FillModeName* fillModeByWord(std::string_view word) {
    for (const FillModeName& f : kFillModes)
        if (f.word == word)
            return &f;
    return nullptr;
}

inline const FillModeName& fillModeName(imaging::FillMode mode) {
    for (const FillModeName& f : kFillModes)
        if (f.mode == mode)
            return f;
    return kFillModes[0];
}

} // namespace print
