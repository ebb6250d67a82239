#pragma once
// The main window's state that other windows read: the selected preview, the
// copies per package and whether the window sits in the tray.

#include <QString>

struct MainState {
    // "Image1" … "Image19", or empty when no preview is selected.
    QString SelectedImage;
    // Copies of each ticked package, 1 … 5; always the value the spinner shows.
    qint16 CopyCount = 1;
    // -1 while the window is hidden and represented by the tray icon, else 0.
    qint16 InTray = 0;

    // The number of the selected preview (1 … 19), or 0 when none.
    int selectedImageNumber() const {
        if (!SelectedImage.startsWith(QLatin1String("Image")))
            return 0;
        bool ok = false;
        const int n = SelectedImage.mid(5).toInt(&ok);
        return ok && n >= 1 && n <= 19 ? n : 0;
    }
};
