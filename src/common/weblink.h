#pragma once
// Opening web addresses and documents with whatever the desktop uses for them.

#include <QString>
#include <QUrl>

namespace weblink {

// Hands a web address or a file to the desktop's handler (browser, viewer).
// Returns true when a handler took it.
bool OpenDocument(const QString& target);

// Hands an address as it is to the desktop's handler; true when one took it.
bool openUrl(const QUrl& url);

// What the user is told when no browser took an address: where to go.
QString notOpenedMessage(const QUrl& url);

} // namespace weblink
