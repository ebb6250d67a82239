#pragma once
// Opening web addresses and documents with whatever the desktop uses for them.

#include <QString>
#include <QUrl>

namespace weblink {

// Hands a web address or a file to the desktop's handler (browser, viewer).
// Returns true when a handler took it. Callers do not report a failure: there
// is nothing the user could do about a desktop without a browser.
bool OpenDocument(const QString& target);

// Hands an address as it is to the desktop's handler; true when one took it.
bool openUrl(const QUrl& url);

} // namespace weblink
