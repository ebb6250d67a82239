#pragma once
// The main window's state that other windows read: the selected preview, the
// copies per package and whether the window sits in the tray.

#include "app/preview_table.h"

#include <QString>

struct MainState {
    // The preview clicked last, 1 … 19 (Image1 … Image19), or 0 when none.
    int selectedImage = 0;
    // Copies of each ticked package, 1 … 5; always the value the spinner shows.
    qint16 CopyCount = 1;
    // While the window is hidden and represented by the tray icon.
    bool inTray = false;

    // The selected preview by name: "Image7", or empty when none.
    QString SelectedImage() const { return selectedImage ? imageName(selectedImage) : QString(); }
};
