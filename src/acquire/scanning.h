#pragma once
// The two scanner calls the "Scan" tab uses, over SANE:
//  - chooseScanner shows a modal list of the scanners found and remembers
//    the one chosen for the rest of the session;
//  - scanToFile shows the scan settings window for the chosen scanner (or
//    the first one found), scans a page there, and writes it as a Windows
//    bitmap file. Each scanner's last settings are kept in the settings file.

#include "common/paths.h"

#include <QString>

class QWidget;

namespace acquire {

// How scanToFile ended.
enum class ScanOutcome {
    Ok, // a picture was written
    NoScanner,
    Cancelled,
    ScanFailed,
    WriteFailed,
    Declined, // the user closed the scan settings window without scanning
};

// Shows the source list modal to owner. True when a scanner was chosen;
// callers may ignore it.
bool chooseScanner(QWidget* owner);

// Scans to fileName; Ok only when a picture was written there.
ScanOutcome scanToFile(QWidget* owner, const QString& fileName,
                       const QString& settingsFile = paths::settingsFile());

// The scanner chosen in this session ("" until one is chosen).
QString selectedSource();
void setSelectedSource(const QString& deviceName);

// What the last failed acquisition reported, for diagnostics.
QString lastAcquireError();

} // namespace acquire
