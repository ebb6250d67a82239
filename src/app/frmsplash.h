#pragma once
// The start-up window: shows for four seconds, or until a key is pressed,
// then hands over to the main window exactly once.

#include <QTimer>
#include <QWidget>
#include <functional>

class QLabel;

class frmSplash : public QWidget {
    Q_OBJECT
  public:
    static constexpr int ShowMilliseconds = 4000;

    // showMain runs once, when the splash unloads itself.
    explicit frmSplash(std::function<void()> showMain, QWidget* parent = nullptr);

    QTimer& Timer1() { return m_timer; }
    QLabel* Label1() const { return m_version; }

    void Timer1_Timer();

  protected:
    void keyPressEvent(QKeyEvent*) override; // Form_KeyPress
    void showEvent(QShowEvent*) override;

  private:
    void unload();

    std::function<void()> m_showMain;
    QTimer m_timer;
    QLabel* m_version;
    QLabel* m_notice;
    bool m_done = false;
};
