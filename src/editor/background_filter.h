// One filter at a time on a worker thread, so that the screen's thread stays free to repaint,
// show the progress and take "Cancel" while it runs.
//
// The run works on its own copy of the picture and on a state it shares with this object, so
// neither side waits for the other: destroying this object cancels a running filter and lets
// the worker end on its own, its result dropped.
#pragma once

#include "editor/edited_picture.h"

#include <QFutureWatcher>
#include <QImage>
#include <QObject>

#include <atomic>
#include <cstdint>
#include <memory>

namespace editor {

class BackgroundFilter : public QObject {
    Q_OBJECT
  public:
    explicit BackgroundFilter(QObject* parent = nullptr);
    ~BackgroundFilter() override;

    // Starts filter `code` on `picture` (shared, never written); the owner refuses a second
    // request while one runs.
    void start(const QImage& picture, int code, std::int32_t parameter);
    // Asks the running filter to stop at its next row; it then finishes as Cancelled.
    void cancel();
    // The running filter's percentage, as far as its rows are done.
    int progress() const;

  signals:
    // On this object's thread, once per start.
    void finished(editor::FilteredPicture filtered);

  private:
    // What the worker and the screen's thread both touch.
    struct Shared {
        std::atomic<std::int32_t> progress{0};
        std::atomic<bool> cancelled{false};
    };

    std::shared_ptr<Shared> m_shared;
    QFutureWatcher<FilteredPicture> m_watcher;
};

} // namespace editor
