#include "notify/alerts.h"

#include "notify/frmmsnpopup.h"

#include <QEventLoop>
#include <QPointer>
#include <functional>

namespace notify {

namespace {

QPointer<QWidget>& mainWindowRef() {
    static QPointer<QWidget> window;
    return window;
}

// Runs the event loop until `done` holds. The popup reports every answer
// and its unloading, so the loop sleeps in between instead of spinning.
void waitUntil(const std::function<bool()>& done) {
    frmmsnpopup& popup = frmmsnpopup::instance();
    while (!done()) {
        QEventLoop loop;
        QObject::connect(&popup, &frmmsnpopup::stateChanged, &loop, &QEventLoop::quit);
        if (done())
            break;
        loop.exec();
    }
}

} // namespace

AlertState& alertState() {
    static AlertState state;
    return state;
}

void setMainWindow(QWidget* window) {
    mainWindowRef() = window;
}

QWidget* mainWindow() {
    return mainWindowRef().data();
}

namespace {
int lockCount = 0;
}

void lockMainWindow() {
    ++lockCount;
    if (QWidget* main = mainWindow())
        main->setEnabled(false);
}

void unlockMainWindow() {
    if (lockCount > 0)
        --lockCount;
    if (lockCount == 0)
        if (QWidget* main = mainWindow())
            main->setEnabled(true);
}

void showPopup() {
    frmmsnpopup::instance().showRequest();
}

bool isPopupLoaded() {
    return frmmsnpopup::instance().isLoaded();
}

void tellUser(const QString& message) {
    AlertState& st = alertState();
    st.AlertMessage = message;
    st.AlertKind = "picture";
    showPopup();
}

bool askPrint(const QString& message) {
    AlertState& st = alertState();
    st.AlertPending = -1;
    st.AlertKind = "print";
    st.AlertMessage = message;
    showPopup();
    waitUntil([&] { return st.AlertPending != -1; });
    return st.PrintAnswer != 0;
}

bool askYesNo(const QString& message) {
    AlertState& st = alertState();
    st.YesNoAnswer.clear();
    st.AlertMessage = message;
    st.AlertKind = "save";
    frmmsnpopup& popup = frmmsnpopup::instance();
    showPopup();
    // A popup that was already up (another kind of message) has no Yes/No
    // buttons: once it is gone there is nobody left to answer, so the
    // question counts as "no" instead of waiting for ever.
    waitUntil(
        [&] { return st.YesNoAnswer == "yes" || st.YesNoAnswer == "no" || !popup.isLoaded(); });
    return st.YesNoAnswer == "yes";
}

} // namespace notify
