#include "app/load_errors.h"

#include "notify/prompt.h"
#include "pictures/package_pictures.h"

#include <QFileInfo>

QString notReadMessage(const QString& fileName, const QString& reason) {
    return QStringLiteral("%1 could not be read: %2.").arg(QFileInfo(fileName).fileName(), reason);
}

void tellLoadErrors(PackagePictures& pictures, notify::Prompt& prompt) {
    QObject::connect(&pictures, &PackagePictures::loadFailed, &pictures,
                     [&prompt](const QString& fileName, const QString& reason) {
                         prompt.tell(notReadMessage(fileName, reason));
                     });
}
