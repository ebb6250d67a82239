#include "common/workers.h"

#include <QThread>
#include <algorithm>

namespace workers {

QThreadPool* pool() {
    static QThreadPool* threads = [] {
        auto* p = new QThreadPool; // lives as long as the program: workers may end late
        p->setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
        return p;
    }();
    return threads;
}

} // namespace workers
