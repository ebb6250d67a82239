#pragma once
// The package captions as the windows and messages show them.

#include "print/layouts.h"

#include <QString>

namespace print {

inline QString caption(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// "8x10 Package": the tool tip of a package's check box and toolbar button.
inline QString packageToolTip(const PackageLayout& package) {
    return caption(package.caption) + QStringLiteral(" Package");
}

// The package shown on tab `tab`, or nullptr (the "Scan" tab).
inline const PackageLayout* packageOnTab(int tab) {
    for (const PackageLayout& package : kPackages)
        if (package.tab == tab)
            return &package;
    return nullptr;
}

} // namespace print
