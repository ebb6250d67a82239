#pragma once
// The alert popup: a frameless window that rises out of the bottom edge of
// the screen, shows one message on a blue-to-white gradient and sinks back
// when a button is clicked. The request and the answers live in
// alertState(); see alerts.h for the calling protocols.

#include "notify/gradient.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;

namespace notify {

class AlertSound;

class frmmsnpopup : public QWidget {
    Q_OBJECT
  public:
    // The one popup window of the program (created on first use).
    static frmmsnpopup& instance();
    ~frmmsnpopup() override;

    // Loads the popup if it is not loaded (disables the main window, picks
    // the buttons from AlertKind, displays AlertMessage); otherwise only
    // brings it forward.
    void showRequest();
    bool isLoaded() const { return m_loaded; }

    // Fills, places and shows the popup and starts it rising.
    void DisplayAlert(const QString& MessageText, qint32 Duration);

    qint16 AlertSlot = 0;

    // Controls, named as in the form, for the tests.
    QLabel* picBackground = nullptr;
    QLabel* lblAlert = nullptr;
    QPushButton* Command1 = nullptr; // "Ok"
    QPushButton* Command2 = nullptr; // "Print"
    QPushButton* Command3 = nullptr; // "Cancel"
    QPushButton* Command4 = nullptr; // "Yes"
    QPushButton* Command5 = nullptr; // "No"
    QTimer tmrOpen;
    QTimer tmrClose;
    QTimer tmrAlert; // carries the display time; never started

    // The painted background, kept for the popup's whole life.
    const QImage& background() const { return m_background; }
    // Window geometry in twips, as the animation sees it.
    double topTwips() const { return m_top; }
    double heightTwips() const { return m_height; }
    double targetHeightTwips() const;
    static double twipsPerPixelX();
    static double twipsPerPixelY();

  signals:
    // An answer was written or the popup unloaded.
    void stateChanged();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private slots:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void tmrOpen_Timer();
    void tmrClose_Timer();

  private:
    frmmsnpopup();
    void fitMessage();
    void Form_Load();
    void Form_Unload();
    void startClosing();
    void applyGeometry();

    bool m_loaded = false;
    double m_borderWidth = 0;
    double m_borderHeight = 0;
    double m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    std::optional<msnpopupGradient> m_gradient;
    QImage m_background;
    std::unique_ptr<AlertSound> m_sound;
};

} // namespace notify
