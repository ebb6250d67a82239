#pragma once
// Answers the popup from inside a test that waits on it, and reads what it
// shows. The clicks go to the popup's real buttons.

#include "notify/frmmsnpopup.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace testpopup {

using Button = QPushButton* notify::frmmsnpopup::*;

// Clicks `button` as soon as the popup is up, looking first after `delay` ms.
inline void clickWhenUp(notify::frmmsnpopup& popup, Button button, int delay = 30) {
    QTimer::singleShot(delay, &popup, [p = &popup, button] {
        if (p->isLoaded())
            QTest::mouseClick(p->*button, Qt::LeftButton);
        else
            clickWhenUp(*p, button);
    });
}

// Clicks `button` once the popup has fully risen and is not sinking, showing `message`
// when one is given.
inline void clickWhenRisen(notify::frmmsnpopup& popup, Button button, const QString& message = {}) {
    QTimer::singleShot(20, &popup, [p = &popup, button, message] {
        if (p->isLoaded() && !p->tmrOpen.isActive() && !p->tmrClose.isActive() &&
            (message.isEmpty() || p->lblAlert->text() == message))
            QTest::mouseClick(p->*button, Qt::LeftButton);
        else
            clickWhenRisen(*p, button, message);
    });
}

// Runs events until the popup has gone (or a generous bound has passed).
inline bool waitGone(const notify::frmmsnpopup& popup, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (popup.isLoaded() && t.elapsed() < ms)
        QTest::qWait(10);
    return !popup.isLoaded();
}

// Closes the popup if it is up, as the window manager would, waits until it
// has gone and blanks its message: a test then sees only what comes next.
inline bool dismiss(notify::frmmsnpopup& popup) {
    if (popup.isLoaded())
        popup.close();
    const bool gone = waitGone(popup);
    popup.lblAlert->clear();
    return gone;
}

// The message shown last (it stays in the popup after it has gone).
inline QString lastMessage(const notify::frmmsnpopup& popup) {
    return popup.lblAlert->text();
}

// Whether the popup is up with only "Ok" to click: a message, not a question.
inline bool tellsOnly(const notify::frmmsnpopup& popup) {
    return popup.isLoaded() && popup.Command1->isVisible() && !popup.Command2->isVisible() &&
           !popup.Command4->isVisible();
}

} // namespace testpopup
