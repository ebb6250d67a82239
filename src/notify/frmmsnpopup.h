#pragma once
// The alert popup: a frameless window over the main window that shows one
// message on a blue-to-white gradient. It is the program's Prompt: it tells,
// and asks "Print"/"Cancel" or "Yes"/"No", with the main window disabled
// while it is up. It grows to fit its message (wider first, then taller, up
// to the work area; beyond that the message scrolls). Where the program
// places its own windows (X11) it rises out of the bottom edge of the screen
// and sinks back when answered; on Wayland the compositor places it, so it
// simply appears, kept above the main window as its dialog.

#include "notify/prompt.h"
#include "notify/window_hold.h"

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QScrollArea;

namespace notify {

class AlertSound;

class frmmsnpopup : public QDialog, public Prompt {
    Q_OBJECT
  public:
    // `mainWindow` (may be null) is the popup's parent, disabled while the
    // popup is up.
    explicit frmmsnpopup(QWidget* mainWindow = nullptr);
    ~frmmsnpopup() override;

    void tell(const QString& message) override;
    void askPrint(const QString& message, Answer answered,
                  std::function<void()> preview = {}) override;
    void askYesNo(const QString& message, Answer answered) override;

    bool isLoaded() const { return m_loaded; }

    // Controls, named as in the form, for the tests.
    QLabel* picBackground = nullptr;
    QScrollArea* messageArea = nullptr; // holds lblAlert, scrolls a long message
    QLabel* lblAlert = nullptr;
    QPushButton* Command1 = nullptr; // "Ok"
    QPushButton* Command2 = nullptr; // "Print"
    QPushButton* Command3 = nullptr; // "Cancel"
    QPushButton* Command4 = nullptr; // "Yes"
    QPushButton* Command5 = nullptr; // "No"
    QPushButton* Command6 = nullptr; // "Print Preview", when the question offers one
    QTimer tmrOpen;
    QTimer tmrClose;

    // The painted background of the panel as it is now.
    const QImage& background() const { return m_background; }
    // Window geometry in twips, as the animation sees it.
    double topTwips() const { return m_top; }
    double heightTwips() const { return m_height; }

  public slots:
    // Escape: the answer that changes nothing, "Cancel", "No" or "Ok".
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private slots:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void tmrOpen_Timer();
    void tmrClose_Timer();

  private:
    // Which buttons the popup offers.
    enum class Kind { Message, PrintQuestion, YesNoQuestion };

    struct Question {
        Kind kind;
        QString message;
        Answer answered;
        std::function<void()> preview;
    };

    void askNext();
    void answer(bool yes);
    void Form_Load(Kind kind, const QString& message);
    void Form_Unload();
    void DisplayAlert(const QString& MessageText);
    QSize layOut(const QRect& workArea);
    void paintBackground(QSize size);
    void startClosing();
    void applyGeometry();

    QPointer<QWidget> m_mainWindow;
    const bool m_slides;              // rises and sinks where the program places its windows
    std::optional<WindowHold> m_hold; // while loaded
    bool m_loaded = false;
    bool m_answer = false;          // the last click on a question's buttons
    std::deque<Question> m_waiting; // questions not yet shown, in order
    Answer m_answered;              // the question shown
    double m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    double m_panelHeight = 0; // twips, the height it rises to
    double m_step = 0;        // twips a tick
    QImage m_background;
    std::unique_ptr<AlertSound> m_sound;
    std::function<void()> m_preview; // while a print question offers it
};

} // namespace notify
