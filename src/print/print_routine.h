#pragma once
// Printing as the windows do it: ask, print, tell.

#include "print/layouts.h"
#include "print/print_options.h"
#include "print/print_summary.h"
#include "print/sheet_orders.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class PackagePictures;
class QWidget;

namespace notify {
class Prompt;
}

namespace print {

struct Paper;
class PrintJob;

inline constexpr const char* kPrinterReadyMessage =
    "Please make sure your printer is on and full of paper.";

// Asks through `prompt`, naming first the printer and the paper it will be
// given (and a remembered paper it no longer offers), then what the paper
// would cut and which prints will look soft (`warnings` for the printer in
// use), and returns. On
// "Print" it starts a PrintJob of `sheets()` (ordered then, so that what
// prints is what the user said "Print" to) on the printer in use, hands it to
// `started` (may be empty), and tells the user what happened to the sheets
// when it has finished. With no printer the sheets become PDF files and the
// user is told once; a refused job shows "Unable to print!". `mainWindow` (may
// be null) owns the job and stays usable while it runs. With
// `preview`, the question also offers "Print Preview". `prompt` and what the
// functions refer to must live until the question is answered.
void askAndPrint(notify::Prompt& prompt, QWidget* mainWindow,
                 const std::function<QStringList(const Paper&)>& warnings,
                 std::function<std::vector<SheetOrder>()> sheets,
                 std::function<void()> preview = {}, std::function<void(PrintJob&)> started = {});

// The main window's "Print": the packages in order, copyCount sheets each,
// through askAndPrint(), the question offering the print preview. A package
// none of whose positions has a picture is refused with a message instead;
// positions without a picture are named in the question.
void askAndPrintPackages(notify::Prompt& prompt, QWidget* mainWindow, const Packages& packages,
                         int copyCount, const PackagePictures& pictures,
                         const PrintOptions& options = {},
                         std::function<void(PrintJob&)> started = {});

// What happened to the sheets, for the user: refusals, the PDF files and
// why, the troubles, and a note about the printer choice. Empty when every
// sheet reached the printer.
QString summaryMessage(const PrintSummary& summary, const QString& choiceNotice = {});

// Shows summaryMessage() (with the printer choice's notice), if any.
void reportToUser(notify::Prompt& prompt, const PrintSummary& summary);

} // namespace print
