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

// Asks through `prompt`, naming first what the paper would cut and which
// prints will look soft (`warnings` for the printer in use), then starts a
// PrintJob of `sheets()` (ordered once the question is answered) on the
// printer in use and tells the user what happened to the sheets when it has
// finished. With no printer the sheets become PDF files and the user is told
// once; a refused job shows "Unable to print!". `mainWindow` (may be null)
// stays disabled, and the wait cursor shows, while the job runs. With
// `preview`, the question also offers "Print Preview". The job running (it
// deletes itself once it has reported), or null when the user did not print.
PrintJob* askAndPrint(notify::Prompt& prompt, QWidget* mainWindow,
                      const std::function<QStringList(const Paper&)>& warnings,
                      const std::function<std::vector<SheetOrder>()>& sheets,
                      const std::function<void()>& preview = {});

// The main window's "Print": the packages in order, copyCount sheets each,
// through askAndPrint(), the question offering the print preview.
PrintJob* askAndPrintPackages(notify::Prompt& prompt, QWidget* mainWindow, const Packages& packages,
                              int copyCount, const PackagePictures& pictures,
                              const PrintOptions& options = {});

// What happened to the sheets, for the user: refusals, the PDF files and
// why, the troubles, and a note about the printer choice. Empty when every
// sheet reached the printer.
QString summaryMessage(const PrintSummary& summary, const QString& choiceNotice = {});

// Shows summaryMessage() (with the printer choice's notice), if any.
void reportToUser(notify::Prompt& prompt, const PrintSummary& summary);

} // namespace print
