// File names as "Save" meets them. Input: a file name. Its format must not
// depend on the letter case of its extension, a name the browser lists must
// be of a format we read, and a save under its extension writes a file exactly
// when the format table names a writer for it.
#include "fuzz_support.h"
#include "pictures/save_picture.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

// Extensions are plain letters; outside ASCII, upper and lower case do not
// always map back and forth (U+03F4 lowers to a letter that uppers to U+0398).
static QString swapAsciiCase(QString s) {
    for (QChar& c : s)
        if (c.unicode() < 128)
            c = c.isUpper() ? c.toLower() : c.toUpper();
    return s;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::startQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString name =
        QString::fromUtf8(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const pictures::PictureFormat* format = pictures::formatOf(name);
    fuzz::check(format == pictures::formatOf(swapAsciiCase(name)), "letter case matters");
    if (pictures::isReadableName(name))
        fuzz::check(format && format->reader != pictures::Reader::None,
                    "a listed name of a format we do not read");

    // Saving under the fuzzed extension, in the scratch folder only.
    const QString extension = QFileInfo(name).suffix();
    if (extension.size() > 8 || extension.contains(QChar(0)))
        return 0;
    const QString path = fuzz::scratchPath("out." + extension);
    QFile::remove(path);
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const pictures::PictureFormat* target = pictures::formatOf(path);
    const bool saved = target && pictures::savePicture(picture, path, *target, 85).ok();
    fuzz::check(saved == QFile::exists(path), "the save result does not match the disk");
    fuzz::check(saved == (target && target->writer != pictures::Writer::None),
                "saved without a writer, or a writer did not save");
    QFile::remove(path);
    return 0;
}
