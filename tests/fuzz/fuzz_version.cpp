// The update check's version reader on any text: a version is never newer
// than itself, nor both newer and older than another.
#include "fuzz_support.h"
#include "update/version.h"

#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const updatecheck::VersionNumber v = updatecheck::readVersion(text);
    if (!v.valid) {
        fuzz::check(v.parts.empty(), "junk read with parts");
        return 0;
    }
    fuzz::check(!updatecheck::isNewer(v, v), "a version newer than itself");
    const updatecheck::VersionNumber running = updatecheck::readVersion(u"3.00");
    const bool up = updatecheck::isNewer(running, v);
    const bool down = updatecheck::isNewer(v, running);
    fuzz::check(!(up && down), "newer both ways");
    return 0;
}
