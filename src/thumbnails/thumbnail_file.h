#pragma once
// The files of the thumbnail cache every desktop program shares (the file
// manager's too): where they live, what they are named, how one is checked
// against the picture it stands for, and how ours are written.
//
//   $XDG_CACHE_HOME/thumbnails/{normal,large,x-large,xx-large}/<md5 of the URI>.png
//   $XDG_CACHE_HOME/thumbnails/fail/parvello-<version>/<md5 of the URI>.png
//
// A cached PNG stands for the picture while its Thumb::URI and Thumb::MTime
// keys match the file's URI and modification time.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <array>
#include <optional>

namespace thumbnails {

// A folder of thumbnails and the size its pictures fit in (the longer side).
struct SizeFolder {
    int pixels;
    const char* name;
};
// From the smallest to the largest.
inline constexpr std::array<SizeFolder, 4> kSizeFolders{{
    {128, "normal"},
    {256, "large"},
    {512, "x-large"},
    {1024, "xx-large"},
}};

// The folder whose pictures are the least that cover `pixels` (the largest
// folder when none does).
const SizeFolder& folderFor(int pixels);

// The picture file a thumbnail stands for, as the cache knows it.
struct Source {
    QByteArray uri; // file:///... with the path percent-encoded
    qint64 mtime;   // the file's modification time, seconds since 1970
    qint64 size;    // bytes
};
// The file's URI, time and size; nothing when it does not exist.
std::optional<Source> sourceOf(const QString& file);

// $XDG_CACHE_HOME/thumbnails (else ~/.cache/thumbnails).
QString cacheRoot();
// Where the size folder's thumbnail of `source` is, and our failure record.
QString thumbnailPath(const SizeFolder& folder, const Source& source);
QString failurePath(const Source& source);

// What a file of the cache says about `source`, from the file's bytes.
struct CachedFile {
    bool valid = false; // a thumbnail of this very file (URI and time match)
    QImage image;       // the thumbnail; one pixel in a failure record
    QString reason;     // a failure record: why the file could not be read
};
CachedFile readCached(const QByteArray& png, const Source& source);
// The same from the file at `path`; not valid when there is none.
CachedFile readCached(const QString& path, const Source& source);

// Writes `image` as the thumbnail of `source` at `path` (mode 0600, its
// folders 0700), through a temporary file in the same folder renamed over
// it, so that no reader ever sees half a file. `reason` marks a failure
// record. An error in words, or empty.
QString writeCached(const QString& path, const QImage& image, const Source& source,
                    const QString& reason = {});

} // namespace thumbnails
