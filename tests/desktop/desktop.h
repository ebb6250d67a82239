#pragma once
// Tests that go through the window system, as a person at the screen does.
//
// Each test process gets a private X server (Xvfb) with openbox as its window
// manager; the program's windows run on the xcb platform inside the test
// process. The test body is split in two:
//   - this (the GUI) thread builds the windows and then keeps them running,
//     including any event loop a question or a modal window starts;
//   - a `User` on a thread of its own acts through the X server (xdotool,
//     wmctrl), so modality, focus and the window manager apply, and reads the
//     windows' state on the GUI thread with onGui().
//
//   auto main = std::make_unique<frmcovercreator>(ini);
//   main->show();
//   desktop::asUser([&](desktop::User& user) {
//       user.click(main->cmdPrint());
//       ASSERT_TRUE(user.waitUntil([&] { return popup.isVisible(); }));
//       user.closeByWindowManager(&popup);
//   });
// See README.md beside this file.

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace desktop {

// Starts Xvfb, openbox and a session bus of its own once for the test process
// (desktop_main.cpp does this before the QApplication exists) and stops them
// at exit.
bool startDesktop(QString* error);
void stopDesktop();
// Waits, once the QApplication exists, until the window manager manages a
// window of ours (see desktop.cpp for why).
bool windowManagerReady();

// A tray host (trayer, an XEmbed tray) on the private display, for the tests
// that need a system tray; stopped when the object goes.
class TrayHost {
  public:
    TrayHost();
    ~TrayHost();
    bool started() const { return m_pid > 0; }

  private:
    qint64 m_pid = 0;
};

class StatusNotifierWatcher;

// A StatusNotifierItem tray (the D-Bus tray of KDE Plasma, of GNOME with the
// AppIndicator extension, of most Wayland desktops) on the private session
// bus: the watcher tray icons register with, and the host's click on an icon.
// Qt chooses its tray once per process, when the first icon is made: make
// this before any main window, in a test of its own.
class StatusNotifierTray {
  public:
    StatusNotifierTray();
    ~StatusNotifierTray();
    bool started() const;
    // The bus names of the icons registered so far.
    QStringList items() const;
    // A left click on the icon, as the host reports it: Activate(x, y).
    bool click(const QString& item);

  private:
    std::unique_ptr<QThread> m_thread; // the watcher answers on a thread of its own
    StatusNotifierWatcher* m_watcher = nullptr;
};

struct Window {
    unsigned long id = 0; // the X window
    QRect geometry;       // as the window manager has placed it
    QString title;
};

class User {
  public:
    // Runs `work` on the GUI thread and returns its result.
    template <typename F> auto onGui(F work) -> decltype(work());

    // Starts `work` on the GUI thread and returns at once: for a handler that
    // asks a question or opens a modal window, and so returns only later.
    void startOnGui(const std::function<void()>& work);

    // Waits (polling the GUI thread) until `done` holds; false on time-out.
    bool waitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

    // Windows the window manager manages, and the first with this title.
    std::vector<Window> windows();
    std::optional<Window> findWindow(const QString& title, int timeoutMs = 10000);
    // Whether this widget's window is on screen as far as the X server knows.
    bool isShownOnScreen(QWidget* window);
    // Waits until the window is on screen where the program believes it is:
    // the window manager moves a new window after mapping it, and a point
    // worked out before the program hears of the move misses. click() and
    // doubleClick() wait for this themselves.
    bool waitUntilPlaced(QWidget* window);

    // A left click at the middle of the widget (or at a point of the screen,
    // in Qt's global coordinates, as mapToGlobal gives them), through the X
    // server: whatever window is on top there gets it.
    void click(QWidget* widget);
    void clickAt(QPoint global, int button = 1);
    void doubleClick(QWidget* widget);
    void doubleClickAt(QPoint global);
    // The left button held down from one point to another.
    void drag(QPoint from, QPoint to);
    // Wheel notches at a point: positive away from the user (up), negative towards.
    void wheel(QPoint global, int notches);
    // Keys to the focused window, in xdotool's names: "Escape", "alt+u".
    void pressKeys(const QString& keys);
    // The window manager's close request (the title bar's X, Alt+F4).
    void closeByWindowManager(QWidget* window);
    void closeByWindowManager(unsigned long id);
    void activate(QWidget* window);
    void minimise(QWidget* window);
    void maximise(QWidget* window);
    // As a drag on the window's edge or title would: to a size or a place in
    // Qt's (logical) pixels; the window manager has the last word.
    void resize(QWidget* window, QSize size);
    void move(QWidget* window, QPoint to);

    // Saves what the screen shows as a PNG.
    bool screenshot(const QString& pngPath);

  private:
    void runOnGui(const std::function<void()>& work);
    // Points in Qt's global coordinates are logical pixels, a scale factor
    // (QT_SCALE_FACTOR) fewer than the X server's.
    QPoint toServer(QPoint global);
    unsigned long windowId(QWidget* widget);
};

// Runs `acts` as the user while this thread keeps the windows running; returns
// when `acts` has returned and the GUI thread is back at this call.
void asUser(const std::function<void(User&)>& acts);

template <typename F> auto User::onGui(F work) -> decltype(work()) {
    using R = decltype(work());
    if constexpr (std::is_void_v<R>) {
        runOnGui(work);
    } else {
        std::optional<R> result;
        runOnGui([&] { result.emplace(work()); });
        return std::move(*result);
    }
}

} // namespace desktop
