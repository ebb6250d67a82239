#include "app/picture_browser.h"

#include "pictures/picture_formats.h"

#include <QDir>
#include <QStorageInfo>

namespace browser {

bool isDriveVolume(const QStorageInfo& volume) {
    static const QStringList pseudo = {
        "proc",      "sysfs",           "devtmpfs",   "devpts",  "tmpfs",    "cgroup",
        "cgroup2",   "pstore",          "securityfs", "debugfs", "tracefs",  "mqueue",
        "hugetlbfs", "configfs",        "fusectl",    "bpf",     "autofs",   "binfmt_misc",
        "overlay",   "squashfs",        "nsfs",       "ramfs",   "efivarfs", "rpc_pipefs",
        "selinuxfs", "fuse.gvfsd-fuse", "fuse.portal"};
    const QString type = QString::fromLatin1(volume.fileSystemType());
    const QString root = volume.rootPath();
    if (!volume.isValid())
        return false;
    if (root == "/")
        return true;
    if (pseudo.contains(type))
        return false;
    // System mounts that are not places for pictures.
    for (const char* prefix : {"/proc", "/sys", "/dev", "/run", "/snap", "/boot"})
        if (root == prefix || root.startsWith(QString(prefix) + '/'))
            return false;
    return true;
}

QStringList drives() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (isDriveVolume(volume) && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    roots.sort();
    roots.removeAll("/");
    roots.prepend("/");
    return roots;
}

QString driveOf(const QString& path) {
    const QStorageInfo volume(path);
    return volume.isValid() ? volume.rootPath() : QStringLiteral("/");
}

std::optional<QStringList> pictureFiles(const QString& folder) {
    QDir dir(folder);
    if (!dir.exists() || !dir.isReadable())
        return std::nullopt;
    QStringList names;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase))
        if (pictures::isReadableName(name))
            names << name;
    return names;
}

std::optional<QStringList> subFolders(const QString& folder) {
    QDir dir(folder);
    if (!dir.exists() || !dir.isReadable())
        return std::nullopt;
    return dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

QString fullPath(const QString& folder, const QString& fileName) {
    return folder.endsWith('/') ? folder + fileName : folder + '/' + fileName;
}

} // namespace browser
