#pragma once
// The printers CUPS knows, and one of them as a sheet target.

#include "print/printer.h"

#include <QString>
#include <memory>
#include <vector>

typedef struct _http_s http_t;

namespace print {

struct CloseHttp {
    void operator()(http_t* http) const;
};
using Http = std::unique_ptr<http_t, CloseHttp>;

// A connection to the scheduler libcups is set up for (CUPS_SERVER or the
// system's); null when it cannot be reached.
Http connectToScheduler();

struct PrinterEntry {
    enum State { Idle, Printing, Stopped };
    QString name;
    QString location;
    State state = Idle;
    bool isDefault = false;
};

// Every queue of the scheduler, in its order; empty when there is none or
// the scheduler cannot be reached.
std::vector<PrinterEntry> installedPrinters();

// Whether the scheduler lists the queue `name`; a scheduler that does not
// answer says nothing about it.
enum class Presence { Installed, Gone, Unreachable };
Presence printerPresence(const QString& name);

inline constexpr const char* kSchedulerUnreachable =
    "The printing system cannot be reached. Check that CUPS is running, then print again.";

} // namespace print
