#include "desktop/session_bus.h"

#include <QFile>

namespace desktop {

std::unique_ptr<QProcess> startSessionBus(QString* error) {
    const QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QFile config(folder + "/session-bus.conf");
    if (!config.open(QIODevice::WriteOnly)) {
        *error = "no room for the session bus's configuration";
        return nullptr;
    }
    config.write("<busconfig><type>session</type><listen>unix:dir=" + folder.toUtf8() +
                 "</listen><policy context=\"default\"><allow send_destination=\"*\"/>"
                 "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>\n");
    config.close();
    auto bus = std::make_unique<QProcess>();
    bus->setStandardErrorFile(QProcess::nullDevice());
    // Ended with the test process, also when that dies first.
    bus->start("setpriv", {"--pdeathsig", "TERM", "dbus-daemon", "--nofork", "--print-address=1",
                           "--config-file=" + config.fileName()});
    QByteArray address;
    while (!address.contains('\n') && bus->waitForReadyRead(15000))
        address += bus->readAllStandardOutput();
    if (!address.contains('\n')) {
        *error = "dbus-daemon did not start";
        stop(bus);
        return nullptr;
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.trimmed());
    return bus;
}

void stop(std::unique_ptr<QProcess>& process) {
    if (!process)
        return;
    process->terminate();
    if (!process->waitForFinished(3000))
        process->kill();
    process->waitForFinished(3000);
    process.reset();
}

} // namespace desktop
