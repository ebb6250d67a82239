#pragma once
// SANE's "test" backend as a real scanner for the tests, configured in a
// private folder: /etc/sane.d is never read, so no network probing and no
// system scanners take part.
//
// libsane reads SANE_CONFIG_DIR once per process, so every harness in a test
// program shares one folder; each harness rewrites its files, and a harness
// going out of scope leaves the backend disabled.

#include <QImage>
#include <QString>
#include <QStringList>

namespace testsupport {

struct SaneTestConfig {
    bool enabled = true; // false: no backend listed, so no scanner at all
    int devices = 1;     // test:0 ... test:(devices - 1)
    QString mode = "Color";
    int depth = 8;
    double resolution = 75.0;
    double resolutionMax = 1200.0;
    QString picture = "Color pattern"; // "Solid black", "Solid white", "Color pattern", "Grid"
    double brX = 40.0;                 // scan area in millimetres
    double brY = 30.0;
    bool threePass = false;
    bool handScanner = false;
    int pplLoss = 0;                // padding pixels at the end of each line
    QString readStatus = "Default"; // e.g. "SANE_STATUS_JAMMED"
    bool readDelay = false;         // slow transfer, for cancelling
    int readDelayMicroseconds = 1000;
    bool readLimit = false;
    int readLimitSize = 1;
};

class SaneTestBackend {
  public:
    explicit SaneTestBackend(const SaneTestConfig& config = {});
    ~SaneTestBackend();
    SaneTestBackend(const SaneTestBackend&) = delete;
    SaneTestBackend& operator=(const SaneTestBackend&) = delete;

    // The private configuration folder (the value of SANE_CONFIG_DIR).
    static QString configDir();

    // Scans with scanimage, SANE's own command-line frontend, and decodes its
    // PNM output as 8-bit RGB. A null picture when scanimage fails.
    QImage scanimage(const QString& device, const QStringList& extraArguments = {}) const;

    // A small PNM reader (P4, P5, P6; 8- or 16-bit samples, 16-bit reduced
    // to the high byte) for scanimage's output.
    static QImage decodePnm(const QByteArray& data);

  private:
    static void writeConfig(const SaneTestConfig& config);
};

} // namespace testsupport
