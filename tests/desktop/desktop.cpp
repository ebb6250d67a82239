#include "desktop/desktop.h"

#include "desktop/session_bus.h"
#include "desktop/tools.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QMutex>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QThread>
#include <atomic>
#include <cstdio>
#include <memory>
#include <signal.h>
#include <thread>

namespace desktop {

namespace {

using desktoptools::run;
using desktoptools::waitFor;

std::unique_ptr<QProcess> xserver;
std::unique_ptr<QProcess> windowManager;
std::unique_ptr<QProcess> sessionBus;

QString hex(unsigned long id) {
    return QStringLiteral("0x%1").arg(id, 8, 16, QLatin1Char('0'));
}

} // namespace

bool startDesktop(QString* error) {
    sessionBus = startSessionBus(error);
    if (!sessionBus)
        return false;

    // -displayfd picks a free display number and writes it once the server
    // accepts connections, so test processes running side by side never meet.
    xserver = std::make_unique<QProcess>();
    xserver->setStandardErrorFile(QProcess::nullDevice());
    // PARVELLO_TEST_SCREEN ("1366x768") sets the screen's size in pixels.
    const QString size = qEnvironmentVariable("PARVELLO_TEST_SCREEN", "1600x1000");
    xserver->start("Xvfb", {"-displayfd", "1", "-screen", "0", size + "x24", "-nolisten", "tcp"});
    QByteArray number;
    while (!number.contains('\n') && xserver->waitForReadyRead(15000))
        number += xserver->readAllStandardOutput();
    if (!number.contains('\n')) {
        *error = "Xvfb did not start";
        stopDesktop();
        return false;
    }
    qputenv("DISPLAY", ":" + number.trimmed());

    // Now and then the new server turns away its first clients for a moment:
    // the window manager then gives up at once, and is simply started again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        windowManager = std::make_unique<QProcess>();
        windowManager->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        windowManager->start("openbox", {"--sm-disable"});
        // wmctrl -m answers once the window manager has announced itself.
        if (waitFor(
                [] {
                    return run("wmctrl", {"-m"}).has_value() || windowManager->waitForFinished(0);
                },
                10000) &&
            windowManager->state() == QProcess::Running)
            return true;
        stop(windowManager);
        QThread::msleep(200);
    }
    *error = "openbox did not start";
    stopDesktop();
    return false;
}

// openbox announces itself (wmctrl -m answers) before it has finished
// starting, and a window mapped in between is never managed: not shown, not
// listed (about one start in five on a busy machine). A window of ours that it
// has managed shows that it is ready; one it let pass is simply shown again.
bool windowManagerReady() {
    QWidget probe;
    probe.setWindowTitle("window manager probe");
    for (int attempt = 0; attempt < 20; ++attempt) {
        probe.show();
        for (int wait = 0; wait < 25; ++wait) {
            QTest::qWait(20);
            if (run("wmctrl", {"-l"}).value_or(QString()).contains(probe.windowTitle()))
                return true;
        }
        probe.hide();
    }
    return false;
}

void stopDesktop() {
    stop(windowManager);
    stop(xserver);
    stop(sessionBus);
}

TrayHost::TrayHost() {
    QProcess::startDetached("trayer",
                            {"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width",
                             "200", "--height", "32"},
                            QString(), &m_pid);
}

TrayHost::~TrayHost() {
    if (m_pid > 0)
        ::kill(pid_t(m_pid), SIGTERM);
}

// The watcher of a StatusNotifierItem tray, as much of it as Qt asks for:
// whether a host shows the icons, and the icons' registration.
class StatusNotifierWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isStatusNotifierHostRegistered)
  public:
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, "status notifier tray");
    QMutex lock;
    QStringList items;

    bool isStatusNotifierHostRegistered() const { return true; }

  public slots:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString& service) {
        QMutexLocker locked(&lock);
        items << service;
    }
};

StatusNotifierTray::StatusNotifierTray()
    : m_thread(std::make_unique<QThread>()), m_watcher(new StatusNotifierWatcher) {
    m_watcher->moveToThread(m_thread.get());
    m_thread->start();
    m_watcher->bus.registerObject("/StatusNotifierWatcher", m_watcher,
                                  QDBusConnection::ExportAllProperties |
                                      QDBusConnection::ExportScriptableSlots);
    m_watcher->bus.registerService("org.kde.StatusNotifierWatcher");
}

StatusNotifierTray::~StatusNotifierTray() {
    m_watcher->bus.unregisterService("org.kde.StatusNotifierWatcher");
    m_watcher->bus.unregisterObject("/StatusNotifierWatcher");
    m_thread->quit();
    m_thread->wait();
    delete m_watcher;
    QDBusConnection::disconnectFromBus("status notifier tray");
}

bool StatusNotifierTray::started() const {
    return m_watcher->bus.isConnected();
}

QStringList StatusNotifierTray::items() const {
    QMutexLocker locked(&m_watcher->lock);
    return m_watcher->items;
}

bool StatusNotifierTray::click(const QString& item) {
    QDBusMessage activate = QDBusMessage::createMethodCall(
        item, "/StatusNotifierItem", "org.kde.StatusNotifierItem", "Activate");
    activate << 0 << 0;
    return m_watcher->bus.call(activate).type() == QDBusMessage::ReplyMessage;
}

void asUser(const std::function<void(User&)>& acts) {
    std::atomic<bool> done = false;
    std::atomic<bool> back = false;
    std::thread person([&] {
        User user;
        acts(user);
        done = true;
        // The GUI thread comes back here only once every question and modal
        // window the user opened is closed; one left open would hang the test.
        if (!waitFor([&] { return back.load(); }, 15000)) {
            std::fprintf(stderr, "FAILED: the user left a question or a modal window open\n");
            for (const auto& server : {windowManager.get(), xserver.get()})
                ::kill(pid_t(server->processId()), SIGTERM);
            std::_Exit(1);
        }
    });
    while (!done)
        QTest::qWait(10);
    back = true;
    person.join();
}

void User::runOnGui(const std::function<void()>& work) {
    QMetaObject::invokeMethod(qApp, work, Qt::BlockingQueuedConnection);
}

void User::startOnGui(const std::function<void()>& work) {
    QMetaObject::invokeMethod(qApp, work, Qt::QueuedConnection);
}

bool User::waitUntil(const std::function<bool()>& done, int timeoutMs) {
    return waitFor([&] { return onGui(done); }, timeoutMs);
}

std::vector<Window> User::windows() {
    std::vector<Window> found;
    // "0x00a00003  0 10   42   800  600  host Title with spaces"
    static const QRegularExpression line(
        R"(^(0x[0-9a-f]+)\s+-?\d+\s+(-?\d+)\s+(-?\d+)\s+(\d+)\s+(\d+)\s+\S+\s?(.*)$)");
    const QString listing = run("wmctrl", {"-lG"}).value_or(QString());
    for (const QString& row : listing.split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = line.match(row);
        if (!m.hasMatch())
            continue;
        found.push_back({m.captured(1).toULong(nullptr, 16),
                         QRect(m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt(),
                               m.captured(5).toInt()),
                         m.captured(6)});
    }
    return found;
}

std::optional<Window> User::findWindow(const QString& title, int timeoutMs) {
    std::optional<Window> match;
    waitFor(
        [&] {
            for (const Window& w : windows())
                if (w.title == title)
                    match = w;
            return match.has_value();
        },
        timeoutMs);
    return match;
}

bool User::isShownOnScreen(QWidget* window) {
    const auto info = run("xwininfo", {"-id", hex(windowId(window))});
    return info && info->contains("Map State: IsViewable");
}

unsigned long User::windowId(QWidget* widget) {
    return onGui([widget] { return static_cast<unsigned long>(widget->window()->winId()); });
}

bool User::waitUntilPlaced(QWidget* window) {
    static const QRegularExpression corner(
        R"(Absolute upper-left X:\s+(-?\d+)\s+Absolute upper-left Y:\s+(-?\d+))");
    return waitFor(
        [&] {
            const auto info = run("xwininfo", {"-id", hex(windowId(window))});
            const QRegularExpressionMatch m = corner.match(info.value_or(QString()));
            if (!m.hasMatch() || !info->contains("Map State: IsViewable"))
                return false;
            const QPoint server(m.captured(1).toInt(), m.captured(2).toInt());
            return toServer(onGui(
                       [window] { return window->window()->mapToGlobal(QPoint(0, 0)); })) == server;
        },
        10000);
}

void User::click(QWidget* widget) {
    waitUntilPlaced(widget);
    clickAt(onGui([widget] { return widget->mapToGlobal(widget->rect().center()); }));
}

QPoint User::toServer(QPoint global) {
    const qreal ratio = onGui([] { return qApp->devicePixelRatio(); });
    return (QPointF(global) * ratio).toPoint();
}

void User::clickAt(QPoint at, int button) {
    const QPoint global = toServer(at);
    run("xdotool", {"mousemove", QString::number(global.x()), QString::number(global.y()), "click",
                    QString::number(button)});
}

void User::doubleClick(QWidget* widget) {
    waitUntilPlaced(widget);
    doubleClickAt(onGui([widget] { return widget->mapToGlobal(widget->rect().center()); }));
}

void User::doubleClickAt(QPoint global) {
    const QPoint at = toServer(global);
    run("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y()), "click",
                    "--repeat", "2", "--delay", "80", "1"});
}

void User::drag(QPoint fromGlobal, QPoint toGlobal) {
    const QPoint from = toServer(fromGlobal);
    const QPoint to = toServer(toGlobal);
    const QPoint half = (from + to) / 2;
    run("xdotool", {"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown",
                    "1", "sleep", "0.1", "mousemove", QString::number(half.x()),
                    QString::number(half.y()), "sleep", "0.1", "mousemove", QString::number(to.x()),
                    QString::number(to.y()), "sleep", "0.1", "mouseup", "1"});
}

void User::wheel(QPoint at, int notches) {
    const QPoint global = toServer(at);
    // X buttons 4 and 5 are the wheel turned up and down.
    run("xdotool",
        {"mousemove", QString::number(global.x()), QString::number(global.y()), "click", "--repeat",
         QString::number(std::abs(notches)), "--delay", "50", notches > 0 ? "4" : "5"});
}

void User::pressKeys(const QString& keys) {
    run("xdotool", {"key", keys});
}

void User::closeByWindowManager(QWidget* window) {
    closeByWindowManager(windowId(window));
}

void User::closeByWindowManager(unsigned long id) {
    run("wmctrl", {"-ic", hex(id)});
}

void User::activate(QWidget* window) {
    run("wmctrl", {"-ia", hex(windowId(window))});
}

void User::resize(QWidget* window, QSize size) {
    const qreal ratio = onGui([window] { return window->devicePixelRatioF(); });
    run("xdotool", {"windowsize", QString::number(windowId(window)),
                    QString::number(qRound(size.width() * ratio)),
                    QString::number(qRound(size.height() * ratio))});
}

void User::move(QWidget* window, QPoint to) {
    const qreal ratio = onGui([window] { return window->devicePixelRatioF(); });
    run("xdotool",
        {"windowmove", QString::number(windowId(window)), QString::number(qRound(to.x() * ratio)),
         QString::number(qRound(to.y() * ratio))});
}

void User::maximise(QWidget* window) {
    run("wmctrl", {"-ir", hex(windowId(window)), "-b", "add,maximized_vert,maximized_horz"});
}

void User::minimise(QWidget* window) {
    run("xdotool", {"windowminimize", QString::number(windowId(window))});
}

bool User::screenshot(const QString& pngPath) {
    return QProcess::execute(
               "sh", {"-c", "xwd -root -silent | convert-im6.q16 xwd:- \"$0\"", pngPath}) == 0;
}

} // namespace desktop

#include "desktop.moc"
