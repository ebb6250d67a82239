#pragma once
// The remembered state of the main window: drive and folder browsed, tab shown,
// packages ticked, copies, the chosen printer, how the pictures fill their
// prints and where the window was, kept in section "MAIN" of the settings file.

#include "common/ini_file.h"
#include "print/print_options.h"

#include <QRect>
#include <QString>
#include <optional>

namespace print {
class PrintOrder;
}

// Where the main window was: its geometry when not maximised, in the
// screen's pixels, and whether it was maximised.
struct WindowPlace {
    QRect normal;
    bool maximized = false;
};

// The window's part of the settings: the tab shown, the place browsed and
// where it was. The rest is the print order's.
class SettingsTarget {
  public:
    virtual ~SettingsTarget() = default;
    virtual void setCurrentTab(int tab) = 0;
    // False when the drive or folder cannot be applied (gone, unreadable, empty).
    virtual bool setDrive(const QString& drive) = 0;
    virtual bool setFolder(const QString& folder) = 0;
    // None when the file names no whole, readable place.
    virtual void setWindowPlace(const std::optional<WindowPlace>& place) = 0;

    virtual int currentTab() const = 0;
    virtual QString drive() const = 0;
    virtual QString folder() const = 0;
    virtual WindowPlace windowPlace() const = 0;
};

namespace settings {

inline const QString Section = QStringLiteral("MAIN");

// Where the settings file lives: parvello.ini in the user's config folder.
QString defaultFileName();

struct Defaults {
    QString drive;
    QString folder;
};

// Reads and applies every key; when drive or folder cannot be applied,
// everything falls back to the defaults (tab 0, nothing ticked, 1 copy).
// The fill mode and the cut guides a file does not name are the new ones
// (crop to fill, guides on) only when there is no file yet: whoever printed
// before keeps stretched pictures and bare sheets until choosing otherwise.
void readini(const IniFile& file, print::PrintOrder& order, SettingsTarget& target,
             const Defaults& defaults);

// Writes the nine keys in their fixed order, then the chosen printer (when
// one was ever chosen), then the fill mode, turning and cut guides, then the
// window's place (WindowLeft, WindowTop, WindowWidth, WindowHeight,
// WindowMaximized). False
// when the file could not be written; the previous file is then left as it was.
bool writeini(IniFile& file, const print::PrintOrder& order, const SettingsTarget& source);

} // namespace settings
