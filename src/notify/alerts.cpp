#include "notify/alerts.h"

#include "notify/frmmsnpopup.h"

#include <QEventLoop>
#include <QPointer>
#include <functional>
#include <optional>

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

// A question asked while another popup is up (an information, or a question
// still closing) waits for that popup to go, then asks: its answer must be
// the user's answer to this question, never one left over.
void waitForPopupToGo() {
    frmmsnpopup& popup = frmmsnpopup::instance();
    waitUntil([&] { return !popup.isLoaded(); });
}

// Shows the question and waits until its popup has gone. The answer is read
// the moment the popup unloads, before any other caller can ask its own.
bool ask(const std::function<bool()>& answer) {
    frmmsnpopup& popup = frmmsnpopup::instance();
    std::optional<bool> result;
    const auto watch = QObject::connect(&popup, &frmmsnpopup::stateChanged, [&] {
        if (!result && !popup.isLoaded())
            result = answer();
    });
    showPopup();
    waitUntil([&] { return result.has_value(); });
    QObject::disconnect(watch);
    return *result;
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
    waitForPopupToGo();
    AlertState& st = alertState();
    st.PrintAnswer = 0; // closed without a click (window manager, Escape) is "Cancel"
    st.AlertPending = -1;
    st.AlertKind = "print";
    st.AlertMessage = message;
    return ask([&] { return st.PrintAnswer != 0; });
}

bool askYesNo(const QString& message) {
    waitForPopupToGo();
    AlertState& st = alertState();
    st.YesNoAnswer.clear();
    st.AlertMessage = message;
    st.AlertKind = "save";
    // The caller goes on once the popup is gone, so that what it says next
    // is displayed.
    return ask([&] { return st.YesNoAnswer == "yes"; });
}

} // namespace notify
