#pragma once
// The tray icon that stands for the main window while it is minimised.

#include <QIcon>
#include <QObject>
#include <memory>

class Tray : public QObject {
    Q_OBJECT
  public:
    virtual ~Tray() = default;
    // Whether the window can go into the desktop's tray.
    virtual bool isAvailable() const = 0;
    virtual void show() = 0;   // ShowProgramInTray
    virtual void remove() = 0; // RemoveTrayIcon
    virtual bool isShown() const = 0;

  signals:
    // The user asks for the window back: a left double-click on an XEmbed
    // tray, a click on a StatusNotifierItem tray (which reports no
    // double-click), or "Restore" in the icon's menu.
    void restoreRequested();
    // "Exit" in the icon's menu.
    void exitRequested();
};

// The desktop's system tray through QSystemTrayIcon, tip "Parvello", with a
// menu of "Restore" and "Exit". The QSystemTrayIcon is the tray's child.
std::unique_ptr<Tray> makeSystemTray(const QIcon& icon);
