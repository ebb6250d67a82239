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

// "Source": lets the user pick the scanner for this session.
void selectSource(QWidget* owner);

// "Aquire": shows the scan settings window and gives the picture scanned
// there. On failure shows "Unable to aquire image!" and gives nothing; closing
// the window without scanning or cancelling a running scan gives nothing
// silently. Scanner settings are remembered in settingsFile.
std::optional<QImage> acquireScan(notify::Prompt& prompt, QWidget* owner,
                                  const QString& settingsFile = paths::settingsFile());

// Asks the user for the file to save to; nothing when cancelled.
using SaveNameChooser = std::function<std::optional<QString>(QWidget* owner)>;
// The save dialog with a type for each format we write (picture_formats.h),
// starting in the user's Pictures folder with the type used last, which is
// kept in settingsFile. A name typed without an extension gets the chosen
// type's, in lower case.
std::optional<QString> chooseSaveName(QWidget* owner,
                                      const QString& settingsFile = paths::settingsFile());

// The name with the extension of a filter such as "BMP (*.BMP)" added in
// lower case (".bmp") when its last part has none.
QString withTypeExtension(const QString& name, const QString& nameFilter);

// "Save": asks for a name, asks before overwriting, writes the picture in the
// format of the name's extension, and tells the user how it went. A cancelled
// dialog ends it silently.
void saveScan(
    notify::Prompt& prompt, QWidget* owner, const QImage& picture,
    const SaveNameChooser& choose = [](QWidget* o) { return chooseSaveName(o); });

// True when a file (not a folder) exists under the name.
bool FileExists(const QString& name);

} // namespace acquire
