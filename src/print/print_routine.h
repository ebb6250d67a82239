#pragma once
// The main window's "Print" button in one call, and the same printing
// without questions for the command-line tool.

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class PackagePictures;

namespace print {

class SheetTarget;

inline constexpr const char* kPrinterReadyMessage =
    "Please make sure your printer is on and full of paper.";

// Enabled when at least one package is ticked.
bool printButtonEnabled(const std::array<int, 5>& checkValues);

// Asks through the popup, then prints every ticked package (value exactly 1)
// in the fixed order, copyCount sheets each, one job a sheet, each cell with
// its picture from `pictures`; a position without a picture leaves its cell
// blank. With no printer the sheets become PDF files and the user is told
// once; a refused job shows "Unable to print!".
void cmdPrintRoutine(const std::array<int, 5>& checkValues, int copyCount,
                     const PackagePictures& pictures);

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

// Prints without asking, to the given target.
PrintSummary printPackages(SheetTarget& target, const std::array<int, 5>& checkValues,
                           int copyCount, const PackagePictures& pictures);

// One picture alone at size 0..4 ("8x10" .. "2.5x3.25"), upright or on its side.
PrintSummary printSingleSheet(SheetTarget& target, const QImage& picture, int sizeIndex,
                              bool horizontal);

// Follows the accepted jobs until the printer has taken them (for
// jobFollowLimitMs() at most) and fills `troubles`, one sentence per problem:
// "The printer is out of paper: the 5x7 sheet is waiting."
void followJobs(PrintSummary& summary);

// What happened to the sheets, for the user: refusals, the PDF files and
// why, the troubles, and a note about the printer choice. Empty when every
// sheet reached the printer.
QString summaryMessage(const PrintSummary& summary, const QString& choiceNotice = {});

// Shows summaryMessage() (with the printer choice's notice), if any.
void reportToUser(const PrintSummary& summary);

} // namespace print
