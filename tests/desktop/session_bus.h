#pragma once
// A D-Bus session bus of the test process's own, so that no tray or service
// of the desktop the tests are started from takes part. It starts no
// services on demand. Its configuration goes into XDG_RUNTIME_DIR.

#include <QProcess>
#include <QString>
#include <memory>

namespace desktop {

// Starts the bus and points DBUS_SESSION_BUS_ADDRESS at it; null on failure.
std::unique_ptr<QProcess> startSessionBus(QString* error);

// Ends a helper process, politely first.
void stop(std::unique_ptr<QProcess>& process);

} // namespace desktop
