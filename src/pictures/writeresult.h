#pragma once
// What a picture writer reports: a status (0 = written) and, for a failure,
// a plain description of what went wrong.

#include <QString>
#include <functional>

class QIODevice;

namespace pictures {

// What kind of failure it was.
enum WriteStatus : int {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    Win32Error = 7,
    FileNotFound = 10,
    ValueOverflow = 11,
    AccessDenied = 12,
    UnknownImageFormat = 13,
};

struct WriteResult {
    int status = Ok;
    QString detail;

    bool ok() const { return status == Ok; }
    static WriteResult failure(int status, const QString& detail) { return {status, detail}; }
};

// Writes a file so that a failed write never replaces a good file: the body
// writes into a temporary file in the target's folder, which is renamed over
// the target only when the body and the flush succeeded.
WriteResult writeAtomically(const QString& path,
                            const std::function<WriteResult(QIODevice&)>& body);

} // namespace pictures
