#pragma once
// The paper each printer is given, remembered between runs: the size (with or
// without borders), the paper type, the quality, the tray and the colour mode
// the user last chose for it, kept in the settings file in a section named
// after the queue.

#include "print/paper.h"
#include "print/printer_options.h"

#include <QString>

namespace print {

// The paper for a printer seen the first time: its default size, a photo paper if it takes
// one (glossy first), its best quality, colour.
PaperChoice firstPaper(const PrinterOptions& options);

// What is remembered for `printer` (a section of that name in the settings file,
// paths::settingsFile(); the "MAIN" section and its keys untouched), each value checked
// against what the printer offers now: one it no longer offers falls back to firstPaper's,
// and `notice` says so in words. Nothing remembered: firstPaper.
PaperChoice rememberedPaper(const QString& printer, const PrinterOptions& options,
                            QString* notice = nullptr);

// Remembers the choice for `printer`; false, with the reason, when the file cannot be written.
bool rememberPaper(const QString& printer, const PaperChoice& choice, QString* error = nullptr);

// The paper in the user's words: "Letter, glossy photo paper, best quality".
QString paperInWords(const PaperChoice& choice, const PrinterOptions& options);

// A paper size by its standard name in the user's words: "Letter", "A4", "4x6"
// ("na_index-4x6_4x6in"); `fallback` for an empty name.
QString sizeInWords(const QString& name, const QString& fallback = QStringLiteral("this paper"));

// A quality (print-quality 3, 4, 5) in the user's words: "draft quality",
// "normal quality", "best quality".
QString qualityInWords(const QString& quality);

// The queue's own name: `printer`, or for "" the default queue's (empty when
// there is none or the scheduler cannot be reached).
QString queueName(const QString& printer);

} // namespace print
