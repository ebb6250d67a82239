#pragma once
// The alert popup: a frameless window that rises out of the bottom edge of
// the screen, shows one message on a blue-to-white gradient and sinks back
// when a button is clicked. It is the program's Prompt: it tells, and asks
// "Print"/"Cancel" or "Yes"/"No", with the main window disabled while it is up.

#include "notify/gradient.h"
#include "notify/prompt.h"
#include "notify/window_hold.h"

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;

namespace notify {

class AlertSound;

class frmmsnpopup : public QWidget, public Prompt {
    Q_OBJECT
  public:
    // `mainWindow` (may be null) is disabled while the popup is up.
    explicit frmmsnpopup(QWidget* mainWindow = nullptr);
    ~frmmsnpopup() override;

    void tell(const QString& message) override;
    void askPrint(const QString& message, Answer answered,
                  std::function<void()> preview = {}) override;
    void askYesNo(const QString& message, Answer answered) override;

    bool isLoaded() const { return m_loaded; }

    // Controls, named as in the form, for the tests.
    QLabel* picBackground = nullptr;
    QLabel* lblAlert = nullptr;
    QPushButton* Command1 = nullptr; // "Ok"
    QPushButton* Command2 = nullptr; // "Print"
    QPushButton* Command3 = nullptr; // "Cancel"
    QPushButton* Command4 = nullptr; // "Yes"
    QPushButton* Command5 = nullptr; // "No"
    QPushButton* Command6 = nullptr; // "Print Preview", when the question offers one
    QTimer tmrOpen;
    QTimer tmrClose;

    // The painted background, kept for the popup's whole life.
    const QImage& background() const { return m_background; }
    // Window geometry in twips, as the animation sees it.
    double topTwips() const { return m_top; }
    double heightTwips() const { return m_height; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

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
    void fitMessage();
    void Form_Load(Kind kind, const QString& message);
    void Form_Unload();
    void DisplayAlert(const QString& MessageText);
    void startClosing();
    void applyGeometry();

    QPointer<QWidget> m_mainWindow;
    std::optional<WindowHold> m_hold; // while loaded
    bool m_loaded = false;
    bool m_answer = false;          // the last click on a question's buttons
    std::deque<Question> m_waiting; // questions not yet shown, in order
    Answer m_answered;              // the question shown
    double m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    std::optional<msnpopupGradient> m_gradient;
    QImage m_background;
    std::unique_ptr<AlertSound> m_sound;
    std::function<void()> m_preview; // while a print question offers it
};

} // namespace notify
