#pragma once
// A small layer over libsane: list the scanners, read and set a scanner's
// resolution, mode and area, scan one page into a picture. Frontend code
// (dialogs, files) stays outside; this knows SANE only.

#include "acquire/scan_settings.h"

#include <QImage>
#include <QString>
#include <QVector>
#include <functional>

namespace acquire::sane {

struct Device {
    QString name; // what sane_open takes, e.g. "test:0"
    QString vendor;
    QString model;
    QString type;

    // "Vendor Model (name)", for lists shown to the user.
    QString label() const;
};

// While a Session lives, libsane is initialised; backends are loaded and
// probed by its first device listing. Scans need a live session.
class Session {
  public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool ok() const { return m_ok; }
    QString error() const { return m_error; }
    // The scanners the backends find, local and networked.
    QVector<Device> devices();

  private:
    bool m_ok = false;
    QString m_error;
};

struct ScanOptions {
    // Switch the scanner to its colour mode when it has one; off keeps the
    // scanner's own default mode.
    bool preferColor = true;
};

// Called while data arrives with the share of the page read so far
// (0 ... 100, or -1 when the scanner does not know the page length).
// Returning false cancels the scan.
using ScanProgress = std::function<bool(int percent)>;

struct ScanResult {
    enum class Outcome { Scanned, Cancelled, Failed };
    Outcome outcome = Outcome::Failed;
    QImage image; // RGB32, with the scan resolution as its dots per metre
    QString error;

    bool ok() const { return outcome == Outcome::Scanned; }
};

// One scanner, open while the object lives.
class Scanner {
  public:
    // Opens the named device. Only names returned by Session::devices()
    // should be passed: libsane opens any backend by name.
    Scanner(const Session& session, const QString& deviceName);
    ~Scanner();
    Scanner(const Scanner&) = delete;
    Scanner& operator=(const Scanner&) = delete;

    bool ok() const { return m_handle != nullptr; }
    QString error() const { return m_error; }

    // The options as the device declares them now (they can change with the mode).
    Capabilities capabilities() const;
    // Sets the mode, the resolution and the area (in millimetres) to the
    // nearest the device takes, and returns what it then holds. Parts the
    // choice leaves empty stay as they are.
    ScanChoice apply(const ScanChoice& choice);
    // What the device holds now.
    ScanChoice current() const;
    // The picture size the device announces for its current settings.
    QSize announcedSize() const;
    // Switches to colour when the device has it.
    void preferColour();

    ScanResult scan(const ScanProgress& progress = {});

  private:
    void* m_handle = nullptr;
    QString m_error;
};

// Scans one page from the named device. Only names returned by
// Session::devices() should be passed: libsane opens any backend by name.
ScanResult scanPage(const Session& session, const QString& deviceName, const ScanOptions& options,
                    const ScanProgress& progress = {});

} // namespace acquire::sane
