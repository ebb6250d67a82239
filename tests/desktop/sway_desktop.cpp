#include "desktop/sway_desktop.h"

#include "desktop/session_bus.h"
#include "desktop/tools.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <pwd.h>
#include <unistd.h>

namespace sway {

namespace {

using desktoptools::run;
using desktoptools::waitFor;

// sway's user: any unprivileged account will do; Debian always has nobody.
constexpr const char* kUser = "nobody";

std::unique_ptr<QTemporaryDir> folder; // sway's XDG_RUNTIME_DIR, its user's own
std::unique_ptr<QProcess> compositor;
std::unique_ptr<QProcess> sessionBus;
std::unique_ptr<QProcess> keyboard;

// The socket sway made in its folder ("wayland-1"), as a path.
QString waylandSocket() {
    const QStringList names = QDir(folder->path()).entryList({"wayland-*"}, QDir::System);
    for (const QString& name : names)
        if (!name.endsWith(".lock"))
            return folder->filePath(name);
    return {};
}

void collect(const QJsonObject& node, bool floating, std::vector<Window>& found) {
    if (node.value("pid").toInteger() == QCoreApplication::applicationPid()) {
        auto rect = [&](const char* name) {
            const QJsonObject r = node.value(name).toObject();
            return QRect(r.value("x").toInt(), r.value("y").toInt(), r.value("width").toInt(),
                         r.value("height").toInt());
        };
        // The window's own area, without sway's border and title.
        const QRect content = rect("window_rect").translated(rect("rect").topLeft());
        found.push_back({node.value("name").toString(), content, node.value("visible").toBool(),
                         node.value("focused").toBool(), floating});
    }
    for (const QJsonValue child : node.value("nodes").toArray())
        collect(child.toObject(), floating, found);
    for (const QJsonValue child : node.value("floating_nodes").toArray())
        collect(child.toObject(), true, found);
}

} // namespace

bool startDesktop(QString* error) {
    const passwd* user = ::getpwnam(kUser);
    if (!user) {
        *error = QStringLiteral("no user %1 to run sway").arg(kUser);
        return false;
    }
    folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/parvello-sway-XXXXXX");
    QFile config(folder->filePath("config"));
    if (!folder->isValid() || !config.open(QIODevice::WriteOnly)) {
        *error = "no folder for sway";
        return false;
    }
    config.write("xwayland disable\n"
                 "output HEADLESS-1 resolution 1600x1000\n"
                 "focus_follows_mouse no\n");
    config.close();
    if (::chown(qPrintable(folder->path()), user->pw_uid, user->pw_gid) != 0 ||
        ::chown(qPrintable(config.fileName()), user->pw_uid, user->pw_gid) != 0) {
        *error = "sway's folder cannot be given to its user";
        return false;
    }

    sessionBus = desktop::startSessionBus(error);
    if (!sessionBus)
        return false;

    const QString ipc = folder->filePath("sway.sock");
    QProcessEnvironment env;
    env.insert("PATH", "/usr/bin:/bin");
    env.insert("HOME", folder->path());
    env.insert("XDG_RUNTIME_DIR", folder->path());
    env.insert("SWAYSOCK", ipc);
    env.insert("WLR_BACKENDS", "headless");
    env.insert("WLR_LIBINPUT_NO_DEVICES", "1");
    env.insert("WLR_RENDERER", "pixman");
    compositor = std::make_unique<QProcess>();
    compositor->setProcessEnvironment(env);
    compositor->setStandardOutputFile(folder->filePath("sway.log"));
    compositor->setStandardErrorFile(folder->filePath("sway.log"));
    compositor->setWorkingDirectory(folder->path());
    // setpriv runs sway in its own place (no process between to forward
    // signals) and has it ended when the test process dies.
    compositor->start("setpriv", {"--reuid", QString::number(user->pw_uid), "--regid",
                                  QString::number(user->pw_gid), "--clear-groups", "--pdeathsig",
                                  "TERM", "sway", "-c", config.fileName()});
    qputenv("SWAYSOCK", ipc.toUtf8());
    if (!compositor->waitForStarted(10000) ||
        !waitFor(
            [] {
                return compositor->state() != QProcess::Running ||
                       (!waylandSocket().isEmpty() && message({"-t", "get_outputs"}));
            },
            10000) ||
        compositor->state() != QProcess::Running) {
        QFile log(folder->filePath("sway.log"));
        *error = "sway did not start: " + (log.open(QIODevice::ReadOnly)
                                               ? QString::fromLocal8Bit(log.readAll().right(600))
                                               : QStringLiteral("no log"));
        stopDesktop();
        return false;
    }
    qputenv("WAYLAND_DISPLAY", waylandSocket().toUtf8());

    // A keyboard plugged in for the whole run: the program binds its keyboard
    // once, and the keys of each pressKey() are not lost while it does.
    keyboard = std::make_unique<QProcess>();
    keyboard->start("setpriv", {"--pdeathsig", "TERM", "wtype", "-s", "3600000"});
    if (!waitFor(
            [] {
                return message({"-t", "get_seats"}).value_or("").contains("\"keyboard\"");
            },
            10000)) {
        *error = "wtype's keyboard did not appear";
        stopDesktop();
        return false;
    }
    return true;
}

void stopDesktop() {
    desktop::stop(keyboard);
    desktop::stop(compositor);
    desktop::stop(sessionBus);
    folder.reset();
}

std::optional<QString> message(const QStringList& args) {
    return run("swaymsg", args);
}

std::vector<Window> windows() {
    std::vector<Window> found;
    const QJsonDocument tree =
        QJsonDocument::fromJson(message({"-t", "get_tree"}).value_or("").toUtf8());
    collect(tree.object(), false, found);
    return found;
}

void clickAt(QPoint point) {
    message({"seat", "-", "cursor", "set", QString::number(point.x()), QString::number(point.y())});
    message({"seat", "-", "cursor", "press", "button1"});
    message({"seat", "-", "cursor", "release", "button1"});
}

void pressKey(const QString& key) {
    run("wtype", {"-k", key});
}

QImage screenshot() {
    const QString file = folder->filePath("screen.png");
    run("grim", {file});
    return QImage(file);
}

} // namespace sway
