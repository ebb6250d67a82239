#pragma once
// Thumbnails made on two worker threads of the maker's own, for a view that
// asks for the files it shows: the newest requests first (what is on the
// screen now), each file once.

#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <deque>
#include <memory>
#include <mutex>

class ThumbnailMaker : public QObject {
    Q_OBJECT
  public:
    // Thumbnails of at least `pixels` on the longer side (see
    // thumbnails::thumbnail).
    explicit ThumbnailMaker(int pixels, QObject* parent = nullptr);
    // Waits only for the thumbnails being made (at most two); the rest are dropped.
    ~ThumbnailMaker() override;

    // Asks for file's thumbnail; the newest requests are served first (what is on screen now);
    // a file already asked for or done is not made again until forget(file).
    void request(const QString& file);
    void forget(const QString& file);
    // Drops every request not yet started (the folder changed).
    void cancelPending();

  signals:
    // On the maker's thread; a null image and the reason when none could be made.
    void ready(const QString& file, const QImage& image, const QString& error);

  private:
    // Takes the newest request and makes its thumbnail; on a worker.
    void makeNewest();

    const int m_pixels;
    QSet<QString> m_asked; // requested or done; the maker's thread only
    std::mutex m_mutex;
    std::deque<QString> m_pending; // newest at the back; under m_mutex
    QThreadPool m_pool;
};
