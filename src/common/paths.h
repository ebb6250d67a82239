#pragma once
// Where Parvello finds what it ships and where it writes what it makes.
// The program's folder is not writable once installed, so the settings go to
// the user's own folder.

#include <QString>

namespace paths {

// Folder of the read-only data shipped with the program (help/, sounds/, pictures/).
QString dataDir();
// A file below dataDir(), e.g. dataFile("sounds/alert.wav").
QString dataFile(const QString& relative);
// The user's configuration folder for Parvello (created when missing).
QString configDir();
// The settings file: parvello.ini in configDir().
QString settingsFile();
// The folder the browser starts in: the user's Pictures folder, else home.
QString picturesDir();
// The user's documents folder, else home.
QString documentsDir();

} // namespace paths
