#pragma once
// The "Scan" tab's buttons as plain functions the main window calls, one
// line each: "Source", "Aquire" and "Save".

#include "common/paths.h"

#include <QImage>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace notify {
class Prompt;
}

namespace acquire {

class cGdiPlus;

// The file the scanner writes and the picture is loaded from: "temp.bmp" in
// the user's cache folder (the program's own folder is not writable).
QString stagingPath();

// "Source": lets the user pick the scanner for this session.
void selectSource(QWidget* owner);

// "Aquire": shows the scan settings window, scans into the staging file,
// loads it into image20 and deletes it. On failure shows "Unable to aquire
// image!" and leaves image20 alone; closing the window without scanning
// leaves it alone silently. Scanner settings are remembered in settingsFile.
void acquireScan(notify::Prompt& prompt, QWidget* owner, QImage& image20,
                 const QString& settingsFile = paths::settingsFile());

// Loads the staging file into image20 and deletes it. False, with image20
// untouched, when the file cannot be read as a picture.
bool loadStagingFile(QImage& image20);

// Asks the user for the file to save to; nothing when cancelled.
using SaveNameChooser = std::function<std::optional<QString>(QWidget* owner)>;
// The save dialog with the program's filter list (BMP, GIF, JPG, PNG, TIF),
// starting in the user's Pictures folder with the type used last, which is
// kept in settingsFile. A name typed without an extension gets the chosen
// type's.
std::optional<QString> chooseSaveName(QWidget* owner,
                                      const QString& settingsFile = paths::settingsFile());

// The name with the extension of a filter such as "BMP (*.BMP)" added when
// its last part has none.
QString withTypeExtension(const QString& name, const QString& nameFilter);

// "Save": asks for a name, asks before overwriting, writes upper-case
// ".BMP" names with our own bitmap writer and everything else through the
// saver, and tells the user how it went. A cancelled dialog ends it silently.
void saveScan(
    notify::Prompt& prompt, QWidget* owner, const QImage& picture, cGdiPlus& saver,
    const SaveNameChooser& choose = [](QWidget* o) { return chooseSaveName(o); });

// True when a file (not a folder) exists under the name.
bool FileExists(const QString& name);

} // namespace acquire
