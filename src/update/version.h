#pragma once
// Version numbers as the update check compares them: the running version and
// the published one are read as decimal numbers and rounded to whole 16-bit
// numbers, a half going to the even neighbour (3.49 -> 3, 3.50 -> 4, 2.50 -> 2).

#include "common/version.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace updatecheck {

// The version this program reports and compares against the published one.
inline constexpr const char* kRunningVersion = parvello::kVersion;

enum class VersionProblem {
    None,
    NotANumber, // empty, letters, junk, more than one point, exponents, ...
    OutOfRange, // a number, but its whole value does not fit 16 bits
};

struct WholeVersion {
    std::optional<std::int16_t> value; // set exactly when problem is None
    VersionProblem problem = VersionProblem::None;
};

// Reads text such as "3.00" (blanks and line ends around it are allowed, as is
// a leading sign) and rounds it exactly, without going through binary
// floating point, so "2.50000000000000000001" still rounds up.
WholeVersion wholeVersion(QStringView text);

// True when the published whole version is above the running one.
bool isNewer(std::int16_t running, std::int16_t published);

} // namespace updatecheck
