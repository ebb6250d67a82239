// The editor's pictures and the commands that move them between slots. No widgets: the
// window locks itself, shows the slots and runs these.
//
// Every slot holds one bitmap (a QImage of Format_RGB32); "A <- B" is a plain assignment, so
// copies share their pixels until one of them is drawn on. A command that meets an error
// leaves every slot as it was before it started.
#pragma once

#include "editor/picture_buffers.h"
#include "imaging/filter_engine.h"

#include <QImage>
#include <QString>

#include <cstdint>

namespace editor {

struct CommandResult {
    enum class Status { Done, Failed, Cancelled };
    Status status = Status::Done;
    QString message; // short, for the user; empty unless Failed
    bool done() const { return status == Status::Done; }
};

class PictureSlots {
  public:
    // Opening: every slot starts as the picture (a null picture leaves them all empty).
    explicit PictureSlots(const QImage& picture);

    // The window became active for the first time: the work surfaces and the edited picture
    // start again from the original; the working copy and the undo copy stay.
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

    const QImage& Original() const { return Original_; }
    const QImage& NewImage() const { return NewImage_; }
    const QImage& picOrig() const { return picOrig_; }
    const QImage& picDest() const { return picDest_; }
    const QImage& picundo() const { return picundo_; }
    const QImage& Picture1() const { return Picture1_; }
    const QImage& picpaint() const { return picpaint_; }
    const QImage& picimageeffect() const { return picimageeffect_; }

  private:
    // A copy of `picture` whose pixels this slot may draw on; null when it cannot be made.
    static QImage ownCopy(const QImage& picture);
    // Records the undo copy; returns what it held, for putting back when the command fails.
    QImage beginChange();
    // Mirror or flip into a new picture.
    CommandResult reflect(void (*transform)(const imaging::BitmapView&,
                                            const imaging::BitmapView&));

    QImage Original_;
    QImage NewImage_;
    QImage picOrig_;
    QImage picDest_;
    QImage picundo_;
    QImage Picture1_;
    QImage picpaint_;
    QImage picimageeffect_;
};

} // namespace editor
