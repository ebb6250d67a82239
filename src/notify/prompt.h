#pragma once
// What the program tells the user and asks. In the program the popup
// (frmmsnpopup) answers; each window that says something is handed one.
// Questions never wait: the answer comes later, from the event loop, to the
// function given with the question.

#include <QString>
#include <functional>

namespace notify {

class Prompt {
  public:
    // Called once with the answer: true for "Print" or "Yes". A question
    // closed without a click (window manager, Escape) is answered false; a
    // question still open when the program ends is never answered.
    using Answer = std::function<void(bool)>;

    virtual ~Prompt() = default;

    // Shows the message and goes on at once.
    virtual void tell(const QString& message) = 0;

    // The two questions are asked in turn: one asked while another message
    // or question is up waits until that has gone. With `preview`, the print
    // question also offers "Print Preview", which runs it and leaves the
    // question open.
    virtual void askPrint(const QString& message, Answer answered,
                          std::function<void()> preview = {}) = 0;
    virtual void askYesNo(const QString& message, Answer answered) = 0;
};

} // namespace notify
