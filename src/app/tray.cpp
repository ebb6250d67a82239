#include "app/tray.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QGuiApplication>
#include <QMenu>
#include <QSystemTrayIcon>

namespace {

// Qt shows the icon through a StatusNotifierItem host when the session bus
// has a watcher that reports one, and falls back to an XEmbed tray otherwise;
// this asks the same question Qt 6.4 asks when the icon is made.
bool trayIsStatusNotifierHost() {
    QDBusInterface watcher("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                           "org.kde.StatusNotifierWatcher", QDBusConnection::sessionBus());
    return watcher.isValid() && watcher.property("IsStatusNotifierHostRegistered").toBool();
}

class SystemTray : public Tray {
  public:
    explicit SystemTray(const QIcon& icon)
        : m_icon(icon, this), m_singleClick(trayIsStatusNotifierHost()) {
        m_icon.setToolTip("Parvello");
        m_menu.addAction("Restore", this, &Tray::restoreRequested);
        m_menu.addAction("Exit", this, &Tray::exitRequested);
        m_icon.setContextMenu(&m_menu);
        connect(&m_icon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    const auto restoring =
                        m_singleClick ? QSystemTrayIcon::Trigger : QSystemTrayIcon::DoubleClick;
                    if (reason == restoring)
                        emit restoreRequested();
                });
    }
    // Only on X11: on Wayland Qt is not told when the compositor minimises
    // the window (KDE's title bar), and a hidden window could not always be
    // brought back from the icon; there it stays in the task list.
    bool isAvailable() const override {
        return QGuiApplication::platformName() == QLatin1String("xcb") &&
               QSystemTrayIcon::isSystemTrayAvailable();
    }
    void show() override { m_icon.show(); }
    void remove() override { m_icon.hide(); }
    bool isShown() const override { return m_icon.isVisible(); }

  private:
    QMenu m_menu; // before the icon, which refers to it until it goes
    QSystemTrayIcon m_icon;
    // An XEmbed tray reports a double-click as a click and then a
    // double-click: there, as ever, only the double-click restores.
    bool m_singleClick;
};

} // namespace

std::unique_ptr<Tray> makeSystemTray(const QIcon& icon) {
    return std::make_unique<SystemTray>(icon);
}
