// The saver's table of extensions and its reading of a file name's extension.
// Input: an extension list, a separator and a file name, split at NUL bytes.
// Every entry of the list must then find the encoder it was added for, the
// built-in entries must stay, and a save to a name with the fuzzed extension
// either writes a file or says why not.
#include "acquire/gdiplus.h"
#include "fuzz_support.h"

#include <QFile>
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
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<QByteArray> parts = bytes.split('\0');
    const QString list = QString::fromUtf8(parts.value(0));
    const QString separator = QString::fromUtf8(parts.value(1));
    const QString name = QString::fromUtf8(parts.value(2));
    const qint32 status = parts.value(3).size() ? qint32(int8_t(parts.value(3)[0])) : 0;

    acquire::cGdiPlus saver;
    const int bmp = saver.EncoderIndex("*.bmp");
    fuzz::check(bmp >= 0, "no BMP encoder");
    const int index = 1000;
    const int listBefore = saver.EncoderIndex(list);
    saver.AddExtensions(list, separator, index);
    if (!separator.isEmpty()) {
        const QStringList entries = list.split(separator);
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const QString entry = i + 1 == entries.size() ? entries[i].trimmed() : entries[i];
            if (i + 1 == entries.size() && entry.isEmpty())
                continue;
            fuzz::check(saver.EncoderIndex(entry) == index, "an added entry is not found");
            fuzz::check(saver.EncoderIndex(swapAsciiCase(entry)) == index, "letter case matters");
        }
        if (!list.toUpper().contains("*.BMP"))
            fuzz::check(saver.EncoderIndex("*.Bmp") == bmp, "a built-in entry was lost");
    } else {
        fuzz::check(saver.EncoderIndex(list) == listBefore, "an empty separator added something");
    }

    const QString extension = acquire::cGdiPlus::FileExtension(name);
    const qsizetype dot = name.lastIndexOf('.');
    const bool hasExtension = dot >= 0 && name.indexOf('/', dot) < 0;
    fuzz::check(extension == (hasExtension ? name.mid(dot + 1) : QString()),
                "the extension is not what follows the name's last point");
    fuzz::check(!extension.contains('/') && !extension.contains('.'),
                "an extension holding a point or a slash");

    (void)acquire::cGdiPlus::GdiErrorString(status);

    // Saving under the fuzzed extension, in the scratch folder only.
    if (extension.size() <= 8 && !extension.contains(QChar(0))) {
        acquire::cGdiPlus fresh;
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        const QString path = fuzz::scratchPath("out." + extension);
        QFile::remove(path);
        const bool saved = fresh.PictureBoxToFile(picture, path, status);
        fuzz::check(saved == QFile::exists(path), "the save result does not match the disk");
        fuzz::check(saved == (fresh.EncoderIndex("*." + extension) >= 0),
                    "saved without an encoder, or an encoder did not save");
        QFile::remove(path);
    }
    return 0;
}
