#pragma once
// parvello-print's paper options (--paper, --paper-type, --quality,
// --borderless, --source) checked against what the printer offers, and
// --list-printer-options.

#include "print/paper.h"
#include "print/printer_options.h"

#include <QString>
#include <optional>

namespace paperflags {

// The paper options as given on the command line; empty: not given.
struct Flags {
    QString size, type, quality, source;
    bool borderless = false;
    bool given() const {
        return borderless || !size.isEmpty() || !type.isEmpty() || !quality.isEmpty() ||
               !source.isEmpty();
    }
};

// `remembered` with the given options applied: a size by its standard name or
// in words ("4x6", "Letter"), a type or tray by its value or caption, a quality
// as draft, normal or high. Nothing, with what the printer offers instead in
// `error`, when it does not offer one of them.
std::optional<print::PaperChoice> apply(const Flags& flags, print::PaperChoice remembered,
                                        const print::PrinterOptions& options,
                                        const QString& printer, QString* error);

// What the printer offers, one choice a line, for --list-printer-options.
QString listed(const QString& printer, const print::PrinterOptions& options,
               const print::PaperChoice& inUse);

} // namespace paperflags
