#include "app/window_placement.h"

#include <QWidget>

// Changing the stay-on-top flag re-creates the native window, which hides
// it: show it again where it was, without moving or resizing it.
static void setOnTop(QWidget* window, bool onTop) {
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    const QRect place = window->geometry();
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    window->setGeometry(place);
    if (visible)
        window->show();
}

void MakeTopMost(QWidget* window) {
    setOnTop(window, true);
}

void MakeNormal(QWidget* window) {
    setOnTop(window, false);
}

bool ForceForegroundWindow(QWidget* window) {
    if (window->isActiveWindow())
        return true;
    window->raise();
    window->activateWindow();
    return window->isActiveWindow();
}
