#pragma once
// The two scanner calls the "Scan" tab uses, over SANE:
//  - chooseScanner shows a modal list of the scanners found and remembers
//    the one chosen for the rest of the session;
//  - scanPicture shows the scan settings window for the chosen scanner (or
//    the first one found) and gives the page scanned there as a picture.
//    Each scanner's last settings are kept in the settings file.

#include "common/paths.h"

#include <QImage>
#include <QString>

class QWidget;

namespace acquire {

// How scanPicture ended.
enum class ScanOutcome {
    Ok, // a picture was scanned
    NoScanner,
    Cancelled,
    ScanFailed,
    Declined, // the user closed the scan settings window without scanning
};

struct Scanned {
    ScanOutcome outcome = ScanOutcome::ScanFailed;
    QImage picture; // RGB32 at the scan's resolution, when Ok
};

// Shows the source list modal to owner. True when a scanner was chosen;
// callers may ignore it.
bool chooseScanner(QWidget* owner);

// Scans one page; a picture only with Ok.
Scanned scanPicture(QWidget* owner, const QString& settingsFile = paths::settingsFile());

// The scanner chosen in this session ("" until one is chosen).
QString selectedSource();
void setSelectedSource(const QString& deviceName);

// What the last failed acquisition reported, for diagnostics.
QString lastAcquireError();

} // namespace acquire
