// The editor's picture: as it came (original), as edited so far (current) and the states
// before the last changes (the undo history), with the commands that change it. No widgets: the
// window locks itself, shows the states and runs these.
//
// The original and the current picture are QImages of Format_RGB32, sharing their pixels until
// one is drawn on; the history keeps its states smaller (see kUndoBytes). A command that meets an
// error leaves every state as it was before it started.
#pragma once

#include "editor/picture_buffers.h"
#include "imaging/filter_engine.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <deque>
#include <functional>

namespace editor {

struct CommandResult {
    enum class Status { Done, Failed, Cancelled };
    Status status = Status::Done;
    QString message; // short, for the user; empty unless Failed
    bool done() const { return status == Status::Done; }
};

// A filter's run on a copy of a picture: the filtered copy (null unless Done) and the result.
struct FilteredPicture {
    QImage picture;
    CommandResult result;
};

// Runs filter `code` on a copy of `picture`, touching nothing else, so that it can run on any
// thread; `progress` receives the percentage, `hook` runs after rows and may cancel.
FilteredPicture RunFilter(const QImage& picture, int code, std::int32_t parameter,
                          std::int32_t& progress, const imaging::EventHook& hook = {});

// How far undo goes back. Tonwerk edits the full picture (it hands it back whole), so each
// state is the whole picture, kept in 3 bytes a pixel (the fourth byte of Format_RGB32 is always
// 0xFF, so nothing is lost): 72 MB at 24 megapixels. The history keeps the last 20 states but no
// more than 1.5 GiB of them, dropping the oldest first. The cap is set so that the usual
// 24-megapixel photo gets all 20 steps (20 up to some 26 megapixels, fewer above); always at
// least the last one.
inline constexpr std::size_t kUndoSteps = 20;
inline constexpr qsizetype kUndoBytes = qsizetype(3) << 29; // 1.5 GiB

// How many states of `stateBytes` each (more than 0) the history keeps.
std::size_t UndoDepth(qsizetype stateBytes);

class EditedPicture {
  public:
    // Opening: every state is the picture (a null picture leaves them all empty).
    explicit EditedPicture(const QImage& picture);

    // The window became active for the first time: the edited picture starts again from the
    // original; the undo history stays.
    void activate();

    // A filter run on the edited picture (see RunFilter) becomes the edited picture if it is
    // done; passes its result on.
    CommandResult takeFiltered(FilteredPicture filtered);
    // Adds `level` (-99 ... 99) to every channel of every pixel.
    CommandResult brightness(int level);
    CommandResult rotate();
    CommandResult mirror();
    CommandResult flip();
    // Back to the picture before the last change still in the history; nothing when none is.
    CommandResult undo();
    // How many changes undo can still take back.
    int undoSteps() const { return int(m_history.size()); }

    const QImage& original() const { return m_original; }
    const QImage& current() const { return m_current; }

  private:
    // Runs `transform` from the current picture into a new one of `width` x `height`, which
    // becomes the current picture.
    CommandResult change(int width, int height,
                         const std::function<void(const imaging::BitmapView& source,
                                                  const imaging::BitmapView& target)>& transform);
    // `next` becomes the current picture; the one before goes into the history. Fails, changing
    // nothing, when there is no memory for the history's copy.
    CommandResult advance(QImage next);

    QImage m_original;
    QImage m_current;
    std::deque<QImage> m_history; // Format_RGB888, oldest first
};

} // namespace editor
