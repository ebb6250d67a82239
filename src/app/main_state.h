#pragma once
// The main window's state that other windows read: the selected preview, the
// copies per package and whether the window sits in the tray.

#include "app/preview_table.h"

#include <QString>
#include <optional>

struct MainState {
    // The position of the preview clicked last (a package position), if any.
    std::optional<int> selected;
    // Copies of each ticked package, 1 … 5; always the value the spinner shows.
    qint16 CopyCount = 1;
    // While the window is hidden and represented by the tray icon.
    bool inTray = false;

    // The selected preview by name: "Image7", or empty when none.
    QString SelectedImage() const { return selected ? imageName(*selected) : QString(); }
};
