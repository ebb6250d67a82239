#include "common/weblink.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace weblink {

bool OpenDocument(const QString& target) {
    if (target.isEmpty())
        return false;
    // A path on disk is opened as a file; anything else is taken as an address.
    const QUrl url = QFileInfo::exists(target)
                         ? QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath())
                         : QUrl(target, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return false;
    return openUrl(url);
}

bool openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

QString notOpenedMessage(const QUrl& url) {
    return QStringLiteral("Open %1 in your browser").arg(url.toString());
}

} // namespace weblink
