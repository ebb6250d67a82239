#pragma once
// The full-resolution picture of a file, decoded on a worker thread while the
// previews already show a quick reduced copy. The previews that got the same
// file share one; when the last of them lets go (a newer file replaced it),
// an unfinished decode is cancelled.

#include "app/picture_loader.h"

#include <QFuture>
#include <QImage>
#include <memory>

class FullPicture {
  public:
    // Starts decoding `bytes` in full; `reduced` stands in if that fails.
    FullPicture(const QString& fileName, const QByteArray& bytes, const QImage& reduced);
    ~FullPicture();
    FullPicture(const FullPicture&) = delete;
    FullPicture& operator=(const FullPicture&) = delete;

    // The full picture, waiting for it (with the wait cursor) if the decode
    // is still running.
    const QImage& picture();

  private:
    std::shared_ptr<std::atomic<bool>> m_cancel;
    QFuture<LoadedPicture> m_decode;
    QImage m_picture;
    bool m_done = false;
};
