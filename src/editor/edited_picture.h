// The editor's picture in its three states: as it came (original), as edited so far (current)
// and before the last change (undo), with the commands that change it. No widgets: the window
// locks itself, shows the states and runs these.
//
// Every state is a QImage of Format_RGB32; states share their pixels until one is drawn on. A
// command that meets an error leaves every state as it was before it started.
#pragma once

#include "editor/picture_buffers.h"
#include "imaging/filter_engine.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>

namespace editor {

struct CommandResult {
    enum class Status { Done, Failed, Cancelled };
    Status status = Status::Done;
    QString message; // short, for the user; empty unless Failed
    bool done() const { return status == Status::Done; }
};

class EditedPicture {
  public:
    // Opening: every state is the picture (a null picture leaves them all empty).
    explicit EditedPicture(const QImage& picture);

    // The window became active for the first time: the edited picture starts again from the
    // original; the undo copy stays.
    void activate();

    // One filter of the engine on a copy of the edited picture; `progress` receives the
    // percentage, `letInterfaceRun` runs after rows and may cancel.
    CommandResult applyFilter(int code, std::int32_t parameter, std::int32_t& progress,
                              const imaging::EventHook& letInterfaceRun = {});
    // Adds `level` (-99 ... 99) to every channel of every pixel.
    CommandResult brightness(int level);
    CommandResult rotate();
    CommandResult mirror();
    CommandResult flip();
    // Back to the picture before the last change (doing it twice shows the same picture).
    CommandResult undo();

    const QImage& original() const { return m_original; }
    const QImage& current() const { return m_current; }
    const QImage& undoCopy() const { return m_undo; }

  private:
    // Runs `transform` from the current picture into a new one of `width` x `height`, which
    // becomes the current picture.
    CommandResult change(int width, int height,
                         const std::function<void(const imaging::BitmapView& source,
                                                  const imaging::BitmapView& target)>& transform);

    QImage m_original;
    QImage m_current;
    QImage m_undo;
};

} // namespace editor
