// The settings reader on whole files of any content, and a write followed by a
// read of the same key: whatever else the file holds, the value comes back.
#include "common/ini_file.h"
#include "fuzz_support.h"

#include <QFile>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::startQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzz::scratchPath("parvello.ini");
    fuzz::writeFile(path, data, size);

    IniFile ini(path);
    const char* keys[] = {"Drive", "Folder", "Tab", "Copies", "Check8x10", ""};
    for (const char* key : keys)
        fuzz::check(!ini.read("MAIN", key).contains(QChar(0)), "a value holding a NUL");

    // The value to store: the input's first line (up to 40 characters),
    // without the characters a one-line value cannot hold.
    QString value = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    value = value.left(value.indexOf('\n') < 0 ? 40 : qMin(value.indexOf('\n'), 40));
    value.remove('\r');
    value.remove('\n');
    value.remove(QChar(0));
    // Cut inside a pair of surrogates, the value would be no text at all:
    // nothing a folder name or a caption can hold.
    if (!value.isEmpty() && value.back().isHighSurrogate())
        value.chop(1);
    const QString before = ini.read("OTHER", "Key");
    if (!ini.write("MAIN", "Folder", value))
        fuzz::check(false, "writing to the scratch folder failed");
    fuzz::check(ini.read("MAIN", "Folder") == value, "a written value does not read back");
    fuzz::check(ini.read("OTHER", "Key") == before, "a write changed another section");
    return 0;
}
