#pragma once
// The main window's state that is neither a picture nor the print order:
// whether the window sits in the tray.

struct MainState {
    // While the window is hidden and represented by the tray icon.
    bool inTray = false;
};
