#pragma once
// A Wayland desktop for the tests: sway with its headless backend, run as an
// unprivileged user (sway refuses root) in a folder of its own, and a session
// bus of the test's own. The program's windows run on Qt's wayland platform
// inside the test process (root), which reaches sway's socket by its path.
//
// The headless seat has no pointer of its own: a click is sway's own seat
// cursor pressed at a point, which focuses and raises what is there as a
// user's click does. Keys come from wtype (a virtual keyboard) and go to the
// window that has the focus.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace sway {

// Starts sway (and the bus) once for the test process, before the
// QApplication exists, and points WAYLAND_DISPLAY at it; stopDesktop() ends
// both, and sway also ends if the test process dies first.
bool startDesktop(QString* error);
void stopDesktop();

// A window of this process as sway has placed it.
struct Window {
    QString title;
    QRect rect; // its own area (without sway's border) on the output
    bool visible = false;
    bool focused = false;
    bool floating = false;
};
std::vector<Window> windows();

// swaymsg with these arguments; its output, or nothing when it failed.
std::optional<QString> message(const QStringList& args);

// A left click of the seat's cursor at a point of the output.
void clickAt(QPoint point);
// A key, in xkb's names ("Return", "Escape"), to the focused window.
void pressKey(const QString& key);
// What the output shows.
QImage screenshot();

} // namespace sway
