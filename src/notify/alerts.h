#pragma once
// The alert request: the program's own message box and question dialog.
//
// A caller writes the request into alertState(), shows the popup and, for a
// question, keeps the event loop running until the popup has written the
// answer. The three protocols below do exactly that; callers should use them.

#include <QString>
#include <QtGlobal>

class QWidget;

namespace notify {

// Booleans shared between windows are -1 for true and 0 for false.
struct AlertState {
    QString AlertMessage;
    QString AlertKind; // "picture", "print", "save"
    qint16 PrintAnswer = 0;
    qint16 AlertPending = 0;
    QString YesNoAnswer;
    qint16 AlertCount = 0;
};

AlertState& alertState();

// The window disabled while the popup is loaded (may be null).
void setMainWindow(QWidget* mainWindow);
QWidget* mainWindow();

// The main window is enabled only while nobody holds it: the popup holds it
// from load to unload, a dialog of its own may hold it while open.
void lockMainWindow();
void unlockMainWindow();

// Shows the popup modelessly, loading it if it is not loaded. A request made
// while it is loaded only brings it forward: the new message is not shown.
void showPopup();
bool isPopupLoaded();

// "picture": show the message, do not wait.
void tellUser(const QString& message);
// The two questions first wait for a popup that is already up to go, then
// ask, and return once the question's popup has gone. A question closed
// without a click (window manager, Escape, the program ending) is "no".
// "print": true when the answer was "Print".
bool askPrint(const QString& message);
// "save": true when the answer was "Yes".
bool askYesNo(const QString& message);

} // namespace notify
