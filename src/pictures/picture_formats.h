#pragma once
// The picture file formats, written once: which the browser lists (and the
// desktop entry offers to open), which "Save" writes and with which writer.
// The browser's filter, the save dialog, the loader, the savers and the
// desktop entry's MimeType line (made at build time) all read this table.

#include <QString>
#include <QStringList>
#include <array>
#include <string_view>

namespace pictures {

// How a format is read: its content decides between libjpeg-turbo, libheif
// and Qt's readers; WMF drawings go through libwmf, camera raw files through
// LibRaw (most are TIFFs inside: their name decides).
enum class Reader { None, ByContent, Wmf, Raw };
// How a format is written: one of Qt's writers, or one of our own.
enum class Writer { None, Qt, Bitmap, Gif };

struct PictureFormat {
    std::string_view name; // the save dialog's type: "JPG (*.JPG)"
    // Upper case, matched in any case; the first is added to a name typed
    // without one. The browser lists these for a format we read.
    std::array<std::string_view, 2> extensions;
    // Further names "Save" writes the format under, never listed.
    std::array<std::string_view, 2> alsoWritten;
    std::string_view mimeType;
    Reader reader;
    Writer writer;
    std::string_view qtWriter; // Qt's name for the writer, for Writer::Qt
    int quality;               // for the writer; -1: its own default
};

// In the order the save dialog offers them.
// clang-format off
inline constexpr std::array<PictureFormat, 18> kPictureFormats{{
    {"ARW", {"ARW"},         {},              "image/x-sony-arw",
           Reader::Raw,       Writer::None,   {},     -1},
    {"AVIF", {"AVIF"},       {},              "image/avif",
           Reader::ByContent, Writer::None,   {},     -1},
    {"BMP", {"BMP"},         {"DIB", "RLE"},  "image/bmp",
           Reader::ByContent, Writer::Bitmap, {},     -1},
    {"CR2", {"CR2"},         {},              "image/x-canon-cr2",
           Reader::Raw,       Writer::None,   {},     -1},
    {"CR3", {"CR3"},         {},              "image/x-canon-cr3",
           Reader::Raw,       Writer::None,   {},     -1},
    {"DNG", {"DNG"},         {},              "image/x-adobe-dng",
           Reader::Raw,       Writer::None,   {},     -1},
    {"GIF", {"GIF"},         {},              "image/gif",
           Reader::ByContent, Writer::Gif,    {},     -1},
    {"HEIC", {"HEIC", "HEIF"}, {},            "image/heif",
           Reader::ByContent, Writer::None,   {},     -1},
    {"ICO", {"ICO"},         {},              "image/vnd.microsoft.icon",
           Reader::ByContent, Writer::None,   {},     -1},
    {"JPG", {"JPG", "JPEG"}, {"JPE", "JFIF"}, "image/jpeg",
           Reader::ByContent, Writer::Qt,     "jpeg", 85},
    {"NEF", {"NEF"},         {},              "image/x-nikon-nef",
           Reader::Raw,       Writer::None,   {},     -1},
    {"ORF", {"ORF"},         {},              "image/x-olympus-orf",
           Reader::Raw,       Writer::None,   {},     -1},
    {"PNG", {"PNG"},         {},              "image/png",
           Reader::ByContent, Writer::Qt,     "png",  -1},
    {"RAF", {"RAF"},         {},              "image/x-fuji-raf",
           Reader::Raw,       Writer::None,   {},     -1},
    {"RW2", {"RW2"},         {},              "image/x-panasonic-rw2",
           Reader::Raw,       Writer::None,   {},     -1},
    {"TIF", {"TIF", "TIFF"}, {},              "image/tiff",
           Reader::ByContent, Writer::Qt,     "tiff", -1},
    {"WEBP", {"WEBP"},       {},              "image/webp",
           Reader::ByContent, Writer::None,   {},     -1},
    {"WMF", {"WMF"},         {},              "image/wmf",
           Reader::Wmf,       Writer::None,   {},     -1},
}};
// clang-format on

// The format a file name's extension stands for, whatever its letter case,
// counting the names only written too; nothing for any other name.
const PictureFormat* formatOf(const QString& fileName);

// Whether the browser lists the file: its extension is one of a format we read.
bool isReadableName(const QString& fileName);

// The save dialog's types, "BMP (*.BMP)", one for each format we write.
QStringList saveTypes();

} // namespace pictures
