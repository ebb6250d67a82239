#pragma once
// The main window's "Print" button in one call, and the same printing
// without questions for the command-line tool.

#include <QImage>
#include <QString>
#include <array>
#include <functional>
#include <vector>

namespace print {

class SheetTarget;

inline constexpr const char* kPrinterReadyMessage =
    "Please make sure your printer is on and full of paper.";

// Enabled when at least one package is ticked.
bool printButtonEnabled(const std::array<int, 5>& checkValues);

// Asks through the popup, then prints every ticked package (value exactly 1)
// in the fixed order, copyCount sheets each, one job a sheet. `preview`
// gives the picture of Image1 .. Image19; an empty QImage leaves its cell
// blank. With no printer the sheets become PDF files and the user is told
// once; a refused job shows "Unable to print!".
void cmdPrintRoutine(const std::array<int, 5>& checkValues, int copyCount,
                     const std::function<QImage(int imageNumber)>& preview);

struct PrintSummary {
    int sheets = 0;            // handed to the printer or saved
    int pdfFiles = 0;          // of those, saved as PDF
    int failed = 0;            // refused
    QString pdfFolder;         // where the PDFs went
    QString error;             // the first refusal's reason
    std::vector<qint64> bytes; // document size of each sheet, in order
};

// Prints without asking, to the given target.
PrintSummary printPackages(SheetTarget& target, const std::array<int, 5>& checkValues,
                           int copyCount, const std::function<QImage(int imageNumber)>& preview);

// One picture alone at size 0..4 ("8x10" .. "2.5x3.25"), upright or on its side.
PrintSummary printSingleSheet(SheetTarget& target, const QImage& picture, int sizeIndex,
                              bool horizontal);

// Tells the user what happened to the sheets: "Unable to print!" when a
// printer refused, or where the PDFs went. Says nothing when everything
// reached the printer.
void reportToUser(const PrintSummary& summary);

} // namespace print
