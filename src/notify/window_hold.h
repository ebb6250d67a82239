#pragma once
// Keeps a window disabled while anyone holds it: the popup while it is up,
// the single-print dialog while it is open, printing while it follows the
// jobs. The count is kept on the window itself, so it is enabled again only
// when the last hold goes.

#include <QPointer>
#include <QWidget>

namespace notify {

class WindowHold {
  public:
    explicit WindowHold(QWidget* window); // null holds nothing
    ~WindowHold();
    WindowHold(const WindowHold&) = delete;
    WindowHold& operator=(const WindowHold&) = delete;

  private:
    QPointer<QWidget> m_window;
};

} // namespace notify
