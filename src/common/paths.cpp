#include "common/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace paths {

QString dataDir() {
    // An override for tests and for running from unusual places.
    const QString env = qEnvironmentVariable("PARVELLO_DATA_DIR");
    if (!env.isEmpty())
        return env;
    // Installed: <prefix>/bin/parvello next to <prefix>/share/parvello.
    const QString beside = QCoreApplication::applicationDirPath() + "/../share/parvello";
    if (QFileInfo(beside + "/help").isDir())
        return QDir::cleanPath(beside);
    if (QFileInfo(QStringLiteral(PARVELLO_BUILD_DATA_DIR "/help")).isDir())
        return QStringLiteral(PARVELLO_BUILD_DATA_DIR);
    return QStringLiteral(PARVELLO_INSTALL_DATA_DIR);
}

QString dataFile(const QString& relative) {
    return dataDir() + '/' + relative;
}

static QString ensured(QStandardPaths::StandardLocation where, const QString& sub) {
    QString base = QStandardPaths::writableLocation(where);
    if (base.isEmpty())
        base = QDir::homePath() + "/.parvello";
    const QString dir = sub.isEmpty() ? base : base + '/' + sub;
    QDir().mkpath(dir);
    return dir;
}

QString configDir() {
    return ensured(QStandardPaths::GenericConfigLocation, "parvello");
}

QString settingsFile() {
    return configDir() + "/parvello.ini";
}

QString picturesDir() {
    const QString pics = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pics.isEmpty() && QFileInfo(pics).isDir())
        return pics;
    return QDir::homePath();
}

QString documentsDir() {
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return docs.isEmpty() ? QDir::homePath() : docs;
}

} // namespace paths
