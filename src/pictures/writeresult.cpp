#include "pictures/writeresult.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

namespace pictures {

// The system's reason is the best guide; the folder checks catch the rest.
static WriteResult openFailure(const QString& path, const QSaveFile& file, int error) {
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.exists() || error == ENOENT)
        return WriteResult::failure(FileNotFound, "no such folder: " + folder.filePath());
    if (!folder.isDir() || !folder.isWritable() || error == EACCES || error == EPERM ||
        error == EROFS || error == ENOTDIR)
        return WriteResult::failure(AccessDenied, "cannot write in " + folder.filePath());
    return WriteResult::failure(Win32Error, file.errorString());
}

WriteResult writeAtomically(const QString& path,
                            const std::function<WriteResult(QIODevice&)>& body) {
    if (path.isEmpty())
        return WriteResult::failure(InvalidParameter, "no file name");
    if (QFileInfo(path).isDir())
        return WriteResult::failure(AccessDenied, path + " is a folder");
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return openFailure(path, file, errno);
    WriteResult result = body(file);
    if (!result.ok()) {
        file.cancelWriting();
        return result;
    }
    // QSaveFile's commit does not notice a buffered write that the disk then
    // refuses (full, over quota): flush first, or a cut-off file replaces the
    // old one and the save reports success.
    if (!file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return WriteResult::failure(Win32Error, reason);
    }
    if (!file.commit())
        return WriteResult::failure(Win32Error, file.errorString());
    return result;
}

} // namespace pictures
