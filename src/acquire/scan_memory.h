#pragma once
// The last resolution, mode and area used with each scanner, kept in the
// settings file in a section of its own per device ("SCANNER test:0"), so
// the main window's section stays as it is.

#include "acquire/scan_settings.h"
#include "common/ini_file.h"

namespace acquire {

class ScanMemory {
  public:
    explicit ScanMemory(const QString& settingsFile);

    // What was used last with the device; zero, empty or null parts where
    // nothing (or nothing readable) is stored.
    ScanChoice recall(const QString& device) const;
    // False when the settings file could not be written.
    bool remember(const QString& device, const ScanChoice& choice);

    static QString section(const QString& device);

  private:
    IniFile m_file;
};

} // namespace acquire
