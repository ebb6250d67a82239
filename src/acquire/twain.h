#pragma once
// The two scanner calls the "Scan" tab uses, with the classic TWAIN
// contract, implemented over SANE:
//  - TWAIN_SelectImageSource shows a modal list of the scanners found and
//    remembers the one chosen for the rest of the session;
//  - TWAIN_AcquireToFilename shows the scan settings window for the chosen
//    scanner (or the first one found), scans a page there, and writes it as
//    a Windows bitmap file. Each scanner's last settings are kept in the
//    settings file.

#include "common/paths.h"

#include <QString>
#include <QtGlobal>

class QWidget;

namespace acquire {

// Results of TWAIN_AcquireToFilename: 0 means a picture was written.
enum AcquireResult : qint16 {
    AcquireOk = 0,
    AcquireNoScanner = 1,
    AcquireCancelled = 2,
    AcquireScanFailed = 3,
    AcquireWriteFailed = 4,
    AcquireDeclined = 5, // the user closed the scan settings window without scanning
};

// Shows the source list modal to owner. Returns 1 when a scanner was chosen,
// 0 otherwise; callers may ignore it.
int TWAIN_SelectImageSource(QWidget* owner);

// Scans to fileName; 0 only when a picture was written there.
qint16 TWAIN_AcquireToFilename(QWidget* owner, const QString& fileName,
                               const QString& settingsFile = paths::settingsFile());

// The scanner chosen in this session ("" until one is chosen).
QString selectedSource();
void setSelectedSource(const QString& deviceName);

// What the last failed acquisition reported, for diagnostics.
QString lastAcquireError();

} // namespace acquire
