#pragma once
// What the program tells the user and asks. In the program the popup
// (frmmsnpopup) answers; each window that says something is handed one.

#include <QString>
#include <functional>

namespace notify {

class Prompt {
  public:
    virtual ~Prompt() = default;

    // Shows the message and goes on at once.
    virtual void tell(const QString& message) = 0;

    // The two questions first wait for a message still up to go, then ask,
    // and return once the question has gone. A question closed without a
    // click (window manager, Escape, the program ending) is "no".
    // True when the answer was "Print". With `preview`, the question also
    // offers "Print Preview", which runs it and leaves the question open.
    virtual bool askPrint(const QString& message, const std::function<void()>& preview = {}) = 0;
    // True when the answer was "Yes".
    virtual bool askYesNo(const QString& message) = 0;
};

} // namespace notify
