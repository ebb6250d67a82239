#include "desktop/tools.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

namespace desktoptools {

std::optional<QString> run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(15000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(20);
    }
    return true;
}

void usePrivateHome(const QString& folder) {
    qputenv("XDG_CONFIG_HOME", (folder + "/config").toUtf8());
    qputenv("XDG_CACHE_HOME", (folder + "/cache").toUtf8());
    qputenv("XDG_RUNTIME_DIR", folder.toUtf8());
}

} // namespace desktoptools
