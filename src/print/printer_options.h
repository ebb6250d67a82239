#pragma once
// What a printer offers for photographs, as CUPS describes it (an IPP
// Everywhere printer and a queue with a PPD alike): its paper sizes, paper
// types, qualities, trays and colour modes, and what it uses unless told.

#include "print/paper.h"

#include <QString>
#include <optional>
#include <vector>

namespace print {

struct PaperSize {
    Paper paper;             // named by its standard name ("na_index-4x6_4x6in")
    QString caption;         // in the user's words ("4 x 6 \"", "4 x 6 \" (Borderless)")
    bool borderless = false; // prints to every edge: all margins 0
};

// One value of a choice: as the printer names it and in the user's words.
struct OptionValue {
    QString value;   // "photographic-glossy"; a quality's number ("5")
    QString caption; // "Glossy Photo Paper"
};

struct PrinterOptions {
    std::vector<PaperSize> sizes;
    std::vector<OptionValue> types;       // media-type
    std::vector<OptionValue> qualities;   // print-quality: 3 draft, 4 normal, 5 high
    std::vector<OptionValue> sources;     // media-source: the trays
    std::vector<OptionValue> colourModes; // print-color-mode

    // What the printer uses unless told, each a value of the lists above (a
    // size by its index in `sizes`); empty or -1 where it names none (a
    // queue with a PPD names no type or tray).
    int defaultSize = -1;
    QString defaultType, defaultQuality, defaultSource, defaultColourMode;
};

// Our own words for a value of `option` ("media-type", "print-quality", …)
// where CUPS has none: "Glossy Photo Paper"; else the value itself with
// spaces for dashes.
QString ourCaption(const char* option, const QString& value);

// What the queue `printer` offers ("" the default queue); nothing, with the
// reason in words, when the queue is unknown or the printer does not answer.
std::optional<PrinterOptions> printerOptions(const QString& printer, QString* error);

} // namespace print
