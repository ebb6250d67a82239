#pragma once
// The file-system side of the picture browser: which places are drives, which
// files are pictures (also among those dropped on the window), and how a
// file's full path is built.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QMimeData;

namespace browser {

// A place the drive list offers: what people call it, and its folder.
struct Drive {
    enum class Kind { Computer, Home, Pictures, Removable };
    Kind kind;
    QString caption; // "Computer", "Home", "Pictures", or a card's volume name
    QString folder;
    bool operator==(const Drive&) const = default;
};

// The kernel's mount table (/proc/self/mountinfo) as text: reading it asks
// no file system anything, so a hung network mount cannot stall the window.
QByteArray mountTable();

// The drives: "/" as "Computer", the home folder, the Pictures folder, then
// the removable media mounted under /media, /run/media/<user> or /mnt,
// sorted by name. A medium is named by its volume label, else by its mount
// folder's name.
QList<Drive> drives(const QByteArray& mountTable, const QString& home, const QString& pictures);
// The same for this system, now.
QList<Drive> drives();

// The most specific drive holding path (Pictures, not Home, for a folder in
// Pictures): its folder.
QString driveOf(const QString& path, const QList<Drive>& drives);
QString driveOf(const QString& path);

// The picture files of a folder (the formats we read, see picture_formats.h),
// sorted by name; nothing when the folder cannot be read.
std::optional<QStringList> pictureFiles(const QString& folder);

// The sub-folders of a folder, sorted by name; nothing when it cannot be read.
std::optional<QStringList> subFolders(const QString& folder);

// The picture a drag from the file manager carries: exactly one local file
// (text/uri-list) with a name we read; nothing for anything else.
std::optional<QString> droppedPicture(const QMimeData* data);

// Folder and file name joined with exactly one "/".
QString fullPath(const QString& folder, const QString& fileName);

} // namespace browser
