#pragma once
// The file-system side of the picture browser: which volumes are drives, which
// files are pictures, and how a file's full path is built.

#include <QStorageInfo>
#include <QString>
#include <QStringList>
#include <optional>

namespace browser {

// Whether a mounted volume is one a person keeps files on: not a pseudo file
// system (proc, sysfs, tmpfs, …) nor a system mount under /proc, /run, ….
bool isDriveVolume(const QStorageInfo& volume);

// Root folders of the drive volumes. "/" comes first.
QStringList drives();

// The drive (mount root) that holds path.
QString driveOf(const QString& path);

// The picture files of a folder (the formats we read, see picture_formats.h),
// sorted by name; nothing when the folder
// cannot be read.
std::optional<QStringList> pictureFiles(const QString& folder);

// The sub-folders of a folder, sorted by name; nothing when it cannot be read.
std::optional<QStringList> subFolders(const QString& folder);

// Folder and file name joined with exactly one "/".
QString fullPath(const QString& folder, const QString& fileName);

} // namespace browser
