#pragma once
// The full-resolution picture of a file, decoded on a worker thread while the
// previews already show a quick reduced copy. The pictures that got the same
// file share one; when the last of them lets go (a newer file replaced it),
// an unfinished decode is cancelled.

#include <QFuture>
#include <QImage>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

class FullPicture {
  public:
    // Decodes the whole file; a null picture when that fails. It should stop
    // soon after `cancel` is set.
    using Decode = std::function<QImage(const std::atomic<bool>* cancel)>;

    // `reduced` stands in if `decode` fails.
    FullPicture(Decode decode, const QImage& reduced);
    ~FullPicture();
    FullPicture(const FullPicture&) = delete;
    FullPicture& operator=(const FullPicture&) = delete;

    // Starts the decode on a worker once the events already waiting have
    // been handled: the previews paint first, which a decode running beside
    // them on a two-core machine would slow down by half.
    static void startSoon(const std::shared_ptr<FullPicture>& full);
    // Starts the decode on a worker, if it has not started yet.
    void start();

    // The full picture, starting the decode and waiting for it if the decode
    // is still running (with the wait cursor on the screen's thread). Safe to
    // call from any thread: printing waits for it on its own worker.
    QImage picture();

  private:
    std::mutex m_mutex; // the members below, read by the screen and by print workers
    std::shared_ptr<std::atomic<bool>> m_cancel;
    Decode m_decodeFile;
    QFuture<QImage> m_decode;
    QImage m_picture;
    bool m_done = false;
};
