// Prints the data folder the program settles on, then checks that each
// relative name given on the command line is a non-empty file below it.
// The packaging tests run it from an install prefix and from the build.
#include "common/paths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::printf("%s\n", qPrintable(paths::dataDir()));
    int missing = 0;
    for (int i = 1; i < argc; ++i) {
        const QFileInfo file(paths::dataFile(QString::fromLocal8Bit(argv[i])));
        if (!file.isFile() || file.size() == 0) {
            std::printf("missing: %s\n", qPrintable(file.filePath()));
            ++missing;
        }
    }
    return missing == 0 ? 0 : 1;
}
