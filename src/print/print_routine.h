#pragma once
// The main window's "Print" button in one call.

#include <QImage>
#include <QString>
#include <array>
#include <functional>

namespace print {

class SheetTarget;

// Enabled when at least one package is ticked.
bool printButtonEnabled(const std::array<int, 5>& checkValues);

// Asks through the popup, then prints every ticked package (value exactly 1)
// in the fixed order, copyCount sheets each, one job a sheet. `preview`
// gives the picture of Image1 .. Image19; an empty QImage leaves its cell
// blank. With no printer the sheets become PDF files and the user is told
// once; a refused job shows "Unable to print!".
void cmdPrintRoutine(const std::array<int, 5>& checkValues, int copyCount,
                     const std::function<QImage(int imageNumber)>& preview);

// The same without the question, to a chosen target (the tool and tests).
// Returns the number of sheets handed over.
struct PrintSummary {
    int sheets = 0;
    int pdfFiles = 0;
    int failed = 0;
    QString pdfFolder;
    QString error;
};
PrintSummary printPackages(SheetTarget& target, const std::array<int, 5>& checkValues,
                           int copyCount, const std::function<QImage(int imageNumber)>& preview);

// Tells the user what happened to the sheets: the PDF folder, or
// "Unable to print!". Says nothing when everything reached the printer.
void reportToUser(const PrintSummary& summary);

} // namespace print
