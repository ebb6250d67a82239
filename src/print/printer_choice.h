#pragma once
// Which printer the sheets go to: the one the user chose, while it is
// installed, else the system's default printer.

#include <QString>

namespace print {

// The chosen queue; empty means the system's default printer.
QString chosenPrinter();
void setChosenPrinter(const QString& name);

// The queue to print on now ("" for the default). A chosen printer that the
// scheduler no longer lists is forgotten, and takeChoiceNotice() says so
// once; while the scheduler cannot be reached the choice is kept.
QString printerInUse();
QString takeChoiceNotice();

// Why sheets cannot go to paper: no printer at all, or printers but none of
// them set as the default.
QString noPrinterMessage();

} // namespace print
