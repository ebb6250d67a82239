// The picture editor "Tonwerk": shows the picture as it came and as edited so far, runs the
// filters of its three menus, the brightness step, the quarter turn, mirror and flip, undoes
// step by step (see EditedPicture), and on "Accept" hands the edited picture back to whoever opened
// it. Filters run on a worker thread; the window never runs an event loop of its own. Opened
// without waiting:
//
//     auto* editor = new editor::frmManipulate(prompt, picture, mainWindow);
//     editor->setAttribute(Qt::WA_DeleteOnClose);
//     QObject::connect(editor, &QDialog::finished, mainWindow, [=](int result) {
//         if (result == QDialog::Accepted)
//             pictures.set(index, editor->NewImage());
//     });
//     editor->open();
#pragma once

#include "editor/background_filter.h"
#include "editor/edited_picture.h"

#include <QDialog>
#include <QImage>
#include <QTimer>

#include <string_view>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QToolBar;

namespace notify {
class Prompt;
}

namespace editor {

class PictureDisplay;

class frmManipulate : public QDialog {
    Q_OBJECT
  public:
    // `picture`: the picture of the selected preview (null when none is selected: the editor
    // then opens empty). The window is modal to `parent`'s window; `prompt` says what went
    // wrong.
    frmManipulate(notify::Prompt& prompt, const QImage& picture, QWidget* parent = nullptr);
    ~frmManipulate() override;

    // True once "Accept" closed the window; "Cancel" and the close box leave it false.
    bool accepted() const { return m_accepted; }
    // The edited picture ("Modified Picture").
    QImage NewImage() const { return m_picture.current(); }

    // While a command runs: hourglass, and everything but "Cancel" disabled.
    void lockform();
    void unlockform();
    bool isLocked() const { return m_locked; }
    // True while a command runs: a filter until its worker has finished, even after "Cancel".
    bool isRunning() const { return m_running; }

    const EditedPicture& pictures() const { return m_picture; }

    // The commands, as the controls run them.
    void filterCommand_Click(std::string_view control); // a menu item, by its control name
    void Toolbar1_ButtonClick(int index);               // 1 Rotate ... 5 Undo Last Change
    void HScroll1_Change(int level);
    void Command5_Click(); // "Accept"
    void Command2_Click(); // "Cancel"

  public slots:
    void reject() override; // close box and Escape: as "Cancel"

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Form_Load();
    void Form_Activate();
    void buildControls();
    void buildMenus();
    void buildToolbar();
    void refreshDisplays();
    // A command runs between these: begin refuses while one runs; end shows the result and
    // tells the user of a failure.
    bool beginCommand();
    void endCommand(const CommandResult& result);
    // Runs a quick command on the screen's thread.
    template <typename Command> void runCommand(Command&& command);
    void filterFinished(FilteredPicture filtered);

    notify::Prompt& m_prompt;
    EditedPicture m_picture;
    BackgroundFilter m_filter;
    QTimer m_progressTimer;

    QMenuBar* m_menuBar = nullptr;
    QMenu* m_menus[3] = {};
    QToolBar* Toolbar1 = nullptr;
    QAction* m_undoButton = nullptr; // "Undo Last Change"
    QGroupBox* Frame1 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QLabel* lblLevel = nullptr; // the brightness level, also while the caption says "Tonwerk"
    QPushButton* Command5 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    PictureDisplay* Original = nullptr;
    PictureDisplay* NewImageDisplay = nullptr;
    QProgressBar* m_progressBar = nullptr;

    bool m_locked = false;
    bool m_running = false;
    bool m_cancelRequested = false;
    bool m_accepted = false;
    bool m_activated = false;
};

// The caption while the user picks a brightness level.
QString BrightnessCaption(int level);
// The level as the window shows it under the scroll bar: "Level: 4%".
QString LevelText(int level);

} // namespace editor
