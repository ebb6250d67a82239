#pragma once
// The start-up window. Once it has painted, it has the main window built
// (on the screen's thread, between two events: no event loop of its own) and
// hands over to it as soon as both that is done and it has shown for a
// second; a key or a click hands over at once. It hands over exactly once.

#include <QTimer>
#include <QWidget>
#include <functional>

class QLabel;

class frmSplash : public QWidget {
    Q_OBJECT
  public:
    // The least time the splash shows unless a key or click ends it.
    static constexpr int ShowMilliseconds = 1000;

    // buildMain makes the main window without showing it; showMain shows it
    // (building it first if it is not yet) when the splash unloads itself.
    // Each runs once.
    frmSplash(std::function<void()> buildMain, std::function<void()> showMain,
              QWidget* parent = nullptr);

    QTimer& Timer1() { return m_timer; }
    QLabel* Label1() const { return m_version; }

    void Timer1_Timer(); // the splash has shown long enough

  protected:
    void keyPressEvent(QKeyEvent*) override;     // Form_KeyPress
    void mousePressEvent(QMouseEvent*) override; // Form_Click
    void showEvent(QShowEvent*) override;
    void paintEvent(QPaintEvent*) override;

  private:
    void buildMain();
    void unload();

    std::function<void()> m_buildMain;
    std::function<void()> m_showMain;
    QTimer m_timer;
    QLabel* m_version;
    QLabel* m_notice;
    bool m_painted = false;
    bool m_built = false;
    bool m_shownLongEnough = false;
    bool m_done = false;
};
