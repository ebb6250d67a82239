#pragma once
// Opening web addresses and documents with whatever the desktop uses for them.

#include <QString>

namespace weblink {

// The maker's web site, opened by "&Quenwick Website" and the toolbar.
inline constexpr char kMakerWebsite[] = "https://www.quenwick.example/";

// Hands a web address or a file to the desktop's handler (browser, viewer).
// Returns true when a handler took it. Callers do not report a failure: there
// is nothing the user could do about a desktop without a browser.
bool OpenDocument(const QString& target);

} // namespace weblink
