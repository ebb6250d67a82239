#include "print/printer_choice.h"

#include "print/cups_printer.h"

namespace print {

namespace {

QString& chosen() {
    static QString name;
    return name;
}

QString& notice() {
    static QString text;
    return text;
}

} // namespace

QString chosenPrinter() {
    return chosen();
}

void setChosenPrinter(const QString& name) {
    chosen() = name;
}

QString printerInUse() {
    // A scheduler that cannot be reached says nothing about the choice.
    if (!chosen().isEmpty() && printerPresence(chosen()) == Presence::Gone) {
        notice() = QStringLiteral("The printer %1 is no longer installed: Parvello prints on "
                                  "the default printer.")
                       .arg(chosen());
        chosen().clear();
    }
    return chosen();
}

QString takeChoiceNotice() {
    return std::exchange(notice(), QString());
}

QString noPrinterMessage() {
    if (installedPrinters().empty())
        return QStringLiteral("No printer found.");
    return QStringLiteral("No default printer is set: choose one under Utilities, "
                          "\"Choose Printer...\", or in your system's printer settings.");
}

} // namespace print
