#pragma once
// Printing as the windows do it (ask, print, tell) and the same printing
// without questions for the command-line tool.

#include "print/layouts.h"
#include "print/print_options.h"

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
class SheetTarget;

inline constexpr const char* kPrinterReadyMessage =
    "Please make sure your printer is on and full of paper.";

struct PrintSummary {
    struct Job {
        QString caption; // "5x7"
        QString printer;
        int id;
    };
    int sheets = 0;            // handed to the printer or saved
    int pdfFiles = 0;          // of those, saved as PDF
    int failed = 0;            // refused
    QString pdfFolder;         // where the PDFs went
    QString whyPdf;            // why they are not on paper
    QString error;             // the first refusal's reason
    std::vector<qint64> bytes; // document size of each sheet, in order
    std::vector<Job> jobs;     // the sheets the printer accepted, in order
    QStringList troubles;      // what holds them up, once followed
};

// Asks through `prompt`, naming first what the paper would cut and which
// prints will look soft (`warnings` for the printer in use), and returns; on
// "Print" it runs `print` on the printer in use under the wait cursor,
// follows the jobs and tells the user what happened to the sheets. `prompt`
// and what `print` refers to must live until the question is answered. With no printer the sheets
// become PDF files and the user is told once; a refused job shows "Unable to
// print!". `mainWindow` (may be null) stays disabled while the jobs are
// followed. With `preview`, the question also offers "Print Preview".
void askAndPrint(notify::Prompt& prompt, QWidget* mainWindow,
                 const std::function<QStringList(const Paper&)>& warnings,
                 const std::function<PrintSummary(SheetTarget&)>& print,
                 const std::function<void()>& preview = {});

// The main window's "Print": printPackages() through askAndPrint(), the
// question offering the print preview.
void askAndPrintPackages(notify::Prompt& prompt, QWidget* mainWindow, const Packages& packages,
                         int copyCount, const PackagePictures& pictures,
                         const PrintOptions& options = {});

// Prints without asking, to the given target: each package in the order
// given, copyCount sheets each, one job a sheet, each cell with its picture
// from `pictures`; a position without a picture leaves its cell blank. The
// pictures fill their cells as `options` say, each in crop mode with its
// own framing.
PrintSummary printPackages(SheetTarget& target, const Packages& packages, int copyCount,
                           const PackagePictures& pictures, const PrintOptions& options = {});

// One picture alone at size 0..4 ("8x10" .. "2.5x3.25"), upright or on its side.
PrintSummary printSingleSheet(SheetTarget& target, const QImage& picture, int sizeIndex,
                              bool horizontal, const PrintOptions& options = {},
                              const imaging::Framing& framing = {});

// Follows the accepted jobs until the printer has taken them (for
// jobFollowLimitMs() at most) and fills `troubles`, one sentence per problem:
// "The printer is out of paper: the 5x7 sheet is waiting." `window` (may be
// null) stays disabled meanwhile but keeps painting.
void followJobs(PrintSummary& summary, QWidget* window = nullptr);

// What happened to the sheets, for the user: refusals, the PDF files and
// why, the troubles, and a note about the printer choice. Empty when every
// sheet reached the printer.
QString summaryMessage(const PrintSummary& summary, const QString& choiceNotice = {});

// Shows summaryMessage() (with the printer choice's notice), if any.
void reportToUser(notify::Prompt& prompt, const PrintSummary& summary);

} // namespace print
