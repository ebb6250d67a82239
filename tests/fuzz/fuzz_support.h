#pragma once
// Shared by the fuzz targets: a Qt application object for the image plug-ins
// and a scratch file that holds one input at a time.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

// Qt finds its image plug-ins through the application object.
inline void startQt() {
    static int argc = 1;
    static char name[] = "parvello-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
}

// A per-process scratch folder: fuzzers may run side by side.
inline QString scratchPath(const QString& fileName) {
    static const QString dir = [] {
        // Memory-backed when there is one: the settings writer syncs every file.
        const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm")
                                 : QDir::tempPath();
        QString d =
            base + QStringLiteral("/parvello-fuzz-%1").arg(QCoreApplication::applicationPid());
        QDir().mkpath(d);
        // The folder goes at exit; its name is kept apart from this static,
        // which is destroyed before the exit handlers run.
        static const QString* const remove = new QString(d);
        std::atexit([] { QDir(*remove).removeRecursively(); });
        return d;
    }();
    return fileName.isEmpty() ? dir : dir + '/' + fileName;
}

inline void writeFile(const QString& path, const uint8_t* data, size_t size) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) {
        std::fprintf(stderr, "cannot write the scratch file %s\n", qPrintable(path));
        std::abort();
    }
}

// A property the code under test must keep: stops the run like a crash would.
inline void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

} // namespace fuzz
