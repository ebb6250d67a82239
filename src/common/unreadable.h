#pragma once
// Why a picture file could not be read, in the user's words: the window says
// "coffee.jpg could not be read: the file is damaged." Each reason is lower
// case, names no file and ends without a full stop. Every reader takes its
// words from this one table.

#include <QByteArray>
#include <QString>
#include <array>
#include <string_view>

namespace unreadable {

enum class Reason {
    CannotOpen,   // %1: the system's reason
    Empty,        //
    FileTooLarge, // %1: the file's megabytes, %2: the most we read
    Damaged,      //
    EndsTooSoon,  // the file was cut short: a copy or download that stopped
    Unsupported,  //
    TooLarge,     // %1: the picture's megapixels, %2: the most we decode
    NoMemory,     //
    Cancelled,    // only for the log: the picture was no longer wanted
};

struct ReasonWords {
    Reason reason;
    std::string_view words;
};

// clang-format off
inline constexpr std::array<ReasonWords, 9> kReasonWords{{
    {Reason::CannotOpen,   "the file cannot be opened: %1"},
    {Reason::Empty,        "the file is empty"},
    {Reason::FileTooLarge, "the file is too large: %1 MB, Parvello takes up to %2 MB"},
    {Reason::Damaged,      "the file is damaged"},
    {Reason::EndsTooSoon,  "the file ends too soon"},
    {Reason::Unsupported,  "Parvello cannot read this kind of picture"},
    {Reason::TooLarge,     "the picture is too large: %1 megapixels, Parvello takes up to %2"},
    {Reason::NoMemory,     "there is not enough memory for the picture"},
    {Reason::Cancelled,    "the reading was cancelled"},
}};
// clang-format on

// The reason's words, its blanks filled in order.
QString words(Reason reason, const QString& first = {}, const QString& second = {});

// CannotOpen with the system's reason ("No such file or directory") in lower case.
QString cannotOpen(const QString& systemReason);

// TooLarge for a picture of that many pixels (megapixels rounded up, so that
// a picture only just over the bound never reads as the bound itself).
QString tooLarge(qint64 width, qint64 height, qint64 maxPixels);

// FileTooLarge for a file of that many bytes.
QString fileTooLarge(qint64 bytes, qint64 maxBytes);

// A decoder's failure on content that shows where it should end (JPEG, PNG
// and GIF by their last bytes, TIFF by its first directory, HEIF and AVIF by
// their boxes): EndsTooSoon when it ends before, else Damaged.
Reason damagedOrCutShort(const QByteArray& bytes);

} // namespace unreadable
