#pragma once
// What both desktop harnesses (X11 and Wayland) need: command line tools run
// to their end, waiting for a condition, and a private home for the program.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace desktoptools {

// Runs a command line tool to its end; its output, or nothing when it failed.
std::optional<QString> run(const QString& program, const QStringList& args);

// Polls `done` until it holds; false on time-out.
bool waitFor(const std::function<bool()>& done, int timeoutMs);

// Settings, caches and the runtime folder in `folder`, so no test sees the
// user's own.
void usePrivateHome(const QString& folder);

} // namespace desktoptools
