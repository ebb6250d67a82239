#include "thumbnails/thumbnail_maker.h"

#include "thumbnails/thumbnail_cache.h"

#include <algorithm>

ThumbnailMaker::ThumbnailMaker(int pixels, QObject* parent) : QObject(parent), m_pixels(pixels) {
    // Two: the machines this runs on have a core or two to spare for it, and
    // the reduced JPEG decode splits its own work further.
    m_pool.setMaxThreadCount(2);
}

ThumbnailMaker::~ThumbnailMaker() {
    {
        std::lock_guard lock(m_mutex);
        m_pending.clear();
    }
    m_pool.clear();
    m_pool.waitForDone();
}

void ThumbnailMaker::request(const QString& file) {
    if (m_asked.contains(file))
        return;
    m_asked.insert(file);
    {
        std::lock_guard lock(m_mutex);
        m_pending.push_back(file);
    }
    // Each task serves whichever request is newest when it starts.
    m_pool.start([this] { makeNewest(); });
}

void ThumbnailMaker::forget(const QString& file) {
    m_asked.remove(file);
    std::lock_guard lock(m_mutex);
    m_pending.erase(std::remove(m_pending.begin(), m_pending.end(), file), m_pending.end());
}

void ThumbnailMaker::cancelPending() {
    std::deque<QString> dropped;
    {
        std::lock_guard lock(m_mutex);
        dropped.swap(m_pending);
    }
    for (const QString& file : dropped)
        m_asked.remove(file);
    m_pool.clear();
}

void ThumbnailMaker::makeNewest() {
    QString file;
    {
        std::lock_guard lock(m_mutex);
        if (m_pending.empty())
            return;
        file = std::move(m_pending.back());
        m_pending.pop_back();
    }
    const thumbnails::Thumbnail made = thumbnails::thumbnail(file, m_pixels);
    // Posted to the maker's thread; dropped with the maker if it is gone by then.
    QMetaObject::invokeMethod(
        this, [this, file, made] { emit ready(file, made.image, made.error); },
        Qt::QueuedConnection);
}
