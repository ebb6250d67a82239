#include "app/tray.h"

#include <QSystemTrayIcon>

namespace {

class SystemTray : public Tray {
  public:
    explicit SystemTray(const QIcon& icon) : m_icon(icon) {
        m_icon.setToolTip("Parvello");
        connect(&m_icon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::DoubleClick)
                        emit doubleClicked();
                });
    }
    bool isAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
    void show() override { m_icon.show(); }
    void remove() override { m_icon.hide(); }
    bool isShown() const override { return m_icon.isVisible(); }

  private:
    QSystemTrayIcon m_icon;
};

} // namespace

std::unique_ptr<Tray> makeSystemTray(const QIcon& icon) {
    return std::make_unique<SystemTray>(icon);
}
