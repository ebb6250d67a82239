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

class FullPicture {
  public:
    // Decodes the whole file; a null picture when that fails. It should stop
    // soon after `cancel` is set.
    using Decode = std::function<QImage(const std::atomic<bool>* cancel)>;

    // Starts `decode` on a worker; `reduced` stands in if it fails.
    FullPicture(Decode decode, const QImage& reduced);
    ~FullPicture();
    FullPicture(const FullPicture&) = delete;
    FullPicture& operator=(const FullPicture&) = delete;

    // The full picture, waiting for it (with the wait cursor) if the decode
    // is still running.
    const QImage& picture();

  private:
    std::shared_ptr<std::atomic<bool>> m_cancel;
    QFuture<QImage> m_decode;
    QImage m_picture;
    bool m_done = false;
};
