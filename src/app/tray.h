#pragma once
// The tray icon that stands for the main window while it is minimised.

#include <QIcon>
#include <QObject>
#include <memory>

class QSystemTrayIcon;

class Tray : public QObject {
    Q_OBJECT
  public:
    virtual ~Tray() = default;
    // Whether the desktop shows tray icons at all.
    virtual bool isAvailable() const = 0;
    virtual void show() = 0;   // ShowProgramInTray
    virtual void remove() = 0; // RemoveTrayIcon
    virtual bool isShown() const = 0;

  signals:
    // The only tray event the program answers: a left double-click.
    void doubleClicked();
};

// The desktop's system tray through QSystemTrayIcon, tip "Parvello".
std::unique_ptr<Tray> makeSystemTray(const QIcon& icon);
