#include "editor/background_filter.h"

#include "common/workers.h"

#include <QtConcurrent/QtConcurrentRun>

namespace editor {

BackgroundFilter::BackgroundFilter(QObject* parent) : QObject(parent) {
    connect(&m_watcher, &QFutureWatcher<FilteredPicture>::finished, this,
            [this] { emit finished(m_watcher.result()); });
}

BackgroundFilter::~BackgroundFilter() {
    cancel();
}

void BackgroundFilter::start(const QImage& picture, int code, std::int32_t parameter) {
    // A state of its own for each run: a cancelled run still ending cannot touch the next.
    m_shared = std::make_shared<Shared>();
    m_watcher.setFuture(
        QtConcurrent::run(workers::pool(), [shared = m_shared, picture, code, parameter] {
            std::int32_t progress = 0;
            return RunFilter(picture, code, parameter, progress, [&] {
                shared->progress.store(progress, std::memory_order_relaxed);
                return !shared->cancelled.load(std::memory_order_relaxed);
            });
        }));
}

void BackgroundFilter::cancel() {
    if (m_shared)
        m_shared->cancelled = true;
}

int BackgroundFilter::progress() const {
    return m_shared ? m_shared->progress.load(std::memory_order_relaxed) : 0;
}

} // namespace editor
