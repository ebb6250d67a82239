#pragma once
// A small layer over libsane: list the scanners, scan one page into a
// picture. Frontend code (dialogs, files) stays outside; this knows SANE only.

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

// Scans one page from the named device. Only names returned by
// Session::devices() should be passed: libsane opens any backend by name.
ScanResult scanPage(const Session& session, const QString& deviceName, const ScanOptions& options,
                    const ScanProgress& progress = {});

} // namespace acquire::sane
