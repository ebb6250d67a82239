#pragma once
// Version numbers as the update check compares them: runs of digits joined by
// points ("3.00", "3.10", "4"), compared part by part as whole numbers, so
// "3.10" is above "3.9" and "3.00". A missing part counts as 0 ("3" is "3.0").

#include "common/version.h"

#include <QString>
#include <QStringView>
#include <string>
#include <vector>

namespace updatecheck {

// The version this program reports and compares against the published one.
inline constexpr const char* kRunningVersion = parvello::kVersion;

struct VersionNumber {
    // Each part's digits without leading zeros ("" for 0), so parts of any
    // length compare exactly: the longer is the larger, else the text decides.
    std::vector<std::string> parts;
    bool valid = false; // false for empty text, letters, signs, "3..1", ...
};

// Reads text such as "3.10" (blanks and line ends around it are allowed).
VersionNumber readVersion(QStringView text);

// True when the published version is above the running one.
bool isNewer(const VersionNumber& running, const VersionNumber& published);

} // namespace updatecheck
