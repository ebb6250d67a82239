#include "app/picture_browser.h"

#include "common/paths.h"
#include "pictures/picture_formats.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>

namespace browser {

namespace {

// A mount table's field, whose spaces, tabs, new lines and backslashes
// are written as octal escapes ("\040").
QString unescaped(const QByteArray& field) {
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += char(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return QString::fromUtf8(out);
}

// Where the desktop mounts memory cards and USB sticks, and where people
// mount them by hand.
bool isMediaFolder(const QString& folder) {
    return folder.startsWith("/media/") || folder.startsWith("/mnt/") ||
           (folder.startsWith("/run/media/") && folder.count('/') >= 4);
}

// The label of the volume on `device` (/dev/sdb1), from udev's links;
// empty when it has none. Its spaces are written "\x20".
QString volumeLabel(const QString& device) {
    if (!device.startsWith("/dev/"))
        return {};
    const QDir labels(QStringLiteral("/dev/disk/by-label"));
    const QString target = QFileInfo(device).canonicalFilePath();
    for (const QFileInfo& link : labels.entryInfoList(QDir::System | QDir::Files))
        if (link.canonicalFilePath() == target) {
            QString label = link.fileName();
            for (qsizetype at = 0; (at = label.indexOf("\\x", at)) >= 0; ++at)
                label.replace(at, 4, QChar(label.mid(at + 2, 2).toInt(nullptr, 16)));
            return label;
        }
    return {};
}

} // namespace

QByteArray mountTable() {
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    return table.open(QIODevice::ReadOnly) ? table.readAll() : QByteArray();
}

QList<Drive> drives(const QByteArray& mountTable, const QString& home, const QString& pictures) {
    QList<Drive> media;
    for (const QByteArray& line : mountTable.split('\n')) {
        // "36 35 98:0 /root /media/anna/CARD rw - vfat /dev/sdb1 rw": the
        // mount point is the fifth field, the device the second after "-".
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 5 || dash + 2 >= fields.size())
            continue;
        const QString folder = unescaped(fields[4]);
        if (!isMediaFolder(folder))
            continue;
        QString caption = volumeLabel(unescaped(fields[dash + 2]));
        if (caption.isEmpty())
            caption = QFileInfo(folder).fileName();
        // A later mount on the same folder hides the earlier one.
        media.removeIf([&](const Drive& d) { return d.folder == folder; });
        media << Drive{Drive::Kind::Removable, caption, folder};
    }
    std::sort(media.begin(), media.end(), [](const Drive& a, const Drive& b) {
        return QString::compare(a.caption, b.caption, Qt::CaseInsensitive) < 0;
    });
    QList<Drive> all = {{Drive::Kind::Computer, QStringLiteral("Computer"), QStringLiteral("/")}};
    if (home != "/")
        all << Drive{Drive::Kind::Home, QStringLiteral("Home"), home};
    if (pictures != home && pictures != "/")
        all << Drive{Drive::Kind::Pictures,
                     QStandardPaths::displayName(QStandardPaths::PicturesLocation), pictures};
    return all + media;
}

QList<Drive> drives() {
    return drives(mountTable(), QDir::homePath(), paths::picturesDir());
}

QString driveOf(const QString& path, const QList<Drive>& drives) {
    const QString clean = QDir::cleanPath(path);
    QString best = QStringLiteral("/");
    for (const Drive& d : drives)
        if ((clean == d.folder || clean.startsWith(d.folder + '/')) &&
            d.folder.size() > best.size())
            best = d.folder;
    return best;
}

QString driveOf(const QString& path) {
    return driveOf(path, drives());
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

std::optional<QString> droppedPicture(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return std::nullopt;
    const QUrl url = data->urls().first();
    if (!url.isLocalFile() || !pictures::isReadableName(url.fileName()))
        return std::nullopt;
    return url.toLocalFile();
}

QString fullPath(const QString& folder, const QString& fileName) {
    return folder.endsWith('/') ? folder + fileName : folder + '/' + fileName;
}

} // namespace browser
