#include "thumbnails/thumbnail_file.h"

#include "common/version.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryFile>
#include <QUrl>
#include <QtEndian>
#include <cstdio>
#include <zlib.h>

namespace thumbnails {

namespace {

constexpr char kUri[] = "Thumb::URI";
constexpr char kMTime[] = "Thumb::MTime";
constexpr char kSize[] = "Thumb::Size";
constexpr char kSoftware[] = "Software";
// Ours, for a failure record: what the file manager does not need.
constexpr char kReason[] = "X-Parvello::Error";

constexpr QFile::Permissions kFileMode = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions kFolderMode = kFileMode | QFile::ExeOwner;

QString nameOf(const Source& source) {
    return QString::fromLatin1(
               QCryptographicHash::hash(source.uri, QCryptographicHash::Md5).toHex()) +
           ".png";
}

// One PNG chunk: length, type, data, CRC of type and data.
QByteArray chunk(const char* type, const QByteArray& data) {
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), out.data());
    const QByteArray body = QByteArray(type) + data;
    out += body;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()));
    QByteArray tail(4, '\0');
    qToBigEndian<quint32>(quint32(crc), tail.data());
    return out + tail;
}

QByteArray textChunk(const char* key, const QByteArray& latin1) {
    return chunk("tEXt", QByteArray(key) + '\0' + latin1);
}

// UTF-8 text, uncompressed, no language: a reason may name anything.
QByteArray internationalChunk(const char* key, const QString& text) {
    return chunk("iTXt", QByteArray(key) + QByteArray("\0\0\0\0\0", 5) + text.toUtf8());
}

// The PNG of `image` with the keys in uncompressed text chunks right after
// the header, where a reader finds them before any pixel.
QByteArray pngWithKeys(const QImage& image, const Source& source, const QString& reason) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // zlib's quickest level (Qt takes 0 to 100 for 0 to 9): a tenth larger
    // than its default and three times as quick, which was a third of the
    // time a thumbnail took.
    writer.setCompression(20);
    if (!writer.write(image))
        return {};
    QByteArray keys = textChunk(kUri, source.uri) +
                      textChunk(kMTime, QByteArray::number(source.mtime)) +
                      textChunk(kSize, QByteArray::number(source.size)) +
                      textChunk(kSoftware, QByteArray("Parvello ") + parvello::kVersion);
    if (!reason.isEmpty())
        keys += internationalChunk(kReason, reason);
    constexpr int afterHeader = 8 + 4 + 4 + 13 + 4; // signature, IHDR chunk
    return png.insert(afterHeader, keys);
}

// Whether every chunk of the PNG lies within its bytes, up to the end chunk:
// a chunk claiming gigabytes in a file of a few hundred bytes would otherwise
// have the PNG reader allocate them before it finds the file short.
bool chunksFit(const QByteArray& png) {
    constexpr qsizetype signature = 8;
    constexpr qsizetype frame = 12; // length, type, CRC
    qsizetype at = signature;
    while (at + frame <= png.size()) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + at);
        if (length > quint64(png.size() - at - frame))
            return false;
        if (png.mid(at + 4, 4) == "IEND")
            return true;
        at += frame + length;
    }
    return false;
}

// Makes `folder` and those between it and the cache's root, each for the
// owner alone (the root's parent as any cache folder).
bool makeFolders(const QString& folder) {
    const QString root = cacheRoot();
    QDir dir;
    if (!dir.mkpath(QFileInfo(root).path()))
        return false;
    // Another thread may make the same folder at the same moment.
    const auto makeOne = [&dir](const QString& path) {
        return dir.exists(path) || dir.mkdir(path, kFolderMode) || dir.exists(path);
    };
    QString made = root;
    if (!makeOne(made))
        return false;
    for (const QString& name : QDir(root).relativeFilePath(folder).split('/', Qt::SkipEmptyParts))
        if (!makeOne(made += '/' + name))
            return false;
    return true;
}

} // namespace

const SizeFolder& folderFor(int pixels) {
    for (const SizeFolder& folder : kSizeFolders)
        if (folder.pixels >= pixels)
            return folder;
    return kSizeFolders.back();
}

std::optional<Source> sourceOf(const QString& file) {
    const QFileInfo info(file);
    if (!info.exists())
        return std::nullopt;
    // Escaped as the file manager escapes a path (RFC 2396: a ';' or a '['
    // escaped, a '+' or a '&' not), or the names would not meet.
    const QByteArray path = QUrl::toPercentEncoding(info.absoluteFilePath(), "/!*'():@&=+$,");
    return Source{"file://" + path, info.lastModified().toSecsSinceEpoch(), info.size()};
}

QString cacheRoot() {
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME").trimmed();
    if (cache.isEmpty())
        cache = QDir::homePath() + "/.cache";
    return cache + "/thumbnails";
}

QString thumbnailPath(const SizeFolder& folder, const Source& source) {
    return cacheRoot() + '/' + folder.name + '/' + nameOf(source);
}

QString failurePath(const Source& source) {
    return cacheRoot() + "/fail/parvello-" + parvello::kVersion + '/' + nameOf(source);
}

CachedFile readCached(const QByteArray& png, const Source& source) {
    if (!png.startsWith("\x89PNG\r\n\x1a\n") || !chunksFit(png))
        return {};
    QBuffer buffer;
    buffer.setData(png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    const QSize size = reader.size();
    const SizeFolder& largest = kSizeFolders.back();
    if (!size.isValid() || size.width() > largest.pixels || size.height() > largest.pixels)
        return {};
    // Read whole before the keys are looked at: another program may have
    // put them after the pixels.
    QImage image = reader.read();
    if (image.isNull())
        return {};
    bool isNumber = false;
    const qint64 mtime = image.text(kMTime).toLongLong(&isNumber);
    if (image.text(kUri).toLatin1() != source.uri || !isNumber || mtime != source.mtime)
        return {};
    const QString reason = image.text(kReason);
    return {true, std::move(image), reason};
}

CachedFile readCached(const QString& path, const Source& source) {
    // Far more than the largest folder's picture takes, even uncompressed.
    constexpr qint64 kLargestFile = 16 << 20;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestFile)
        return {};
    return readCached(file.readAll(), source);
}

QString writeCached(const QString& path, const QImage& image, const Source& source,
                    const QString& reason) {
    const QString folder = QFileInfo(path).path();
    if (!makeFolders(folder))
        return "the thumbnail folder " + folder + " cannot be made";
    const QByteArray png = pngWithKeys(image, source, reason);
    if (png.isEmpty())
        return "the thumbnail could not be encoded";
    // QTemporaryFile makes its file for the owner alone.
    QTemporaryFile temporary(path + ".XXXXXX");
    if (!temporary.open())
        return "the thumbnail " + path + " cannot be written: " + temporary.errorString();
    if (temporary.write(png) != png.size() || !temporary.flush())
        return "the thumbnail " + path + " cannot be written: " + temporary.errorString();
    temporary.setPermissions(kFileMode);
    // rename() replaces an older thumbnail in one step; QFile's would not.
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(path).constData()) != 0)
        return "the thumbnail " + path + " cannot be put in place";
    temporary.setAutoRemove(false);
    return {};
}

} // namespace thumbnails
