#pragma once
// The pictures of the package positions and the scanned picture (the
// positions of pictures/positions.h), held apart from the widgets that show them. Printing,
// the editor, saving and the previews all read them here; the previews follow
// `changed`. Each position also keeps the framing of its print: where the
// print's crop window lies on the picture.

#include "imaging/cell_mapping.h"
#include "pictures/positions.h"

#include <QImage>
#include <QObject>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class FullPicture;

class PackagePictures : public QObject {
    Q_OBJECT
  public:
    // The picture at position `index` at full resolution, waiting for it
    // while it is still being decoded; null when there is none.
    const QImage& picture(int index) const;
    // What the screen shows of it: a copy at most screenCopySide() pixels
    // either way, made once per picture and shared by the positions that got
    // the same file.
    const QImage& preview(int index) const;
    // Its size, known while the full picture is still being decoded.
    QSize size(int index) const;

    // The name of the file its picture came from ("coffee.jpg"); empty for
    // a picture made here without one (a scan).
    const QString& name(int index) const { return m_entries.at(size_t(index)).name; }

    // Whether position `index` has a picture at all.
    bool isEmpty(int index) const { return m_entries.at(size_t(index)).size.isEmpty(); }

    // How large the screen's copy of a picture may be, in pixels either way:
    // enough for the largest preview box. Set once by the window.
    void setScreenCopySide(int side) { m_screenCopySide = side; }
    int screenCopySide() const { return m_screenCopySide; }

    // Gives the picture of `fileName` to every position in `positions`,
    // read and decoded on a worker so that the window never waits: the
    // positions change once the screen copy is made (from a quick reduced
    // decode: a JPEG, or the small picture a HEIF or raw file carries), then
    // the full picture is decoded on another worker. A small picture that
    // does not fill the box is shown enlarged until then: the positions
    // change again with a sharp screen copy from the full picture. size()
    // is the full picture's from the start.
    // A later load or set() wins over an earlier load that finishes late.
    // When the file cannot be read, `loadFailed` says why (the user's words,
    // without the file's name) and the positions
    // keep their pictures; when only the full decode fails, they get back
    // what they showed before.
    void load(const QString& fileName, const std::vector<int>& positions);
    // Whether a load has not reached its positions yet.
    bool isLoading() const { return m_loading > 0; }

    // A picture made elsewhere (a scan, an edit of the picture from file
    // `name`) for position `index`; it starts unframed.
    void set(int index, const QImage& picture, const QString& name = {});

    const imaging::Framing& framing(int index) const;
    void setFraming(int index, const imaging::Framing& framing);

    // The positions as they are now, for a print run on a worker thread: the
    // pictures (or their decodes still running) and their framing. Later
    // changes here leave it as it is.
    class Snapshot {
      public:
        // The full picture, waiting for its decode; from any thread.
        QImage picture(int index) const;
        const imaging::Framing& framing(int index) const;

      private:
        friend class PackagePictures;
        struct Position {
            QImage picture;
            std::shared_ptr<FullPicture> pending;
            imaging::Framing framing;
        };
        std::array<Position, positions::kCount> m_positions;
    };
    Snapshot snapshot() const;

  signals:
    void changed(int index);
    void framingChanged(int index);
    // `fileName` could not be shown; `reason` in the loader's words.
    void loadFailed(const QString& fileName, const QString& reason);
    void loadingChanged(bool loading);

  private:
    struct QuickLoad;
    static QuickLoad readForScreen(const QString& fileName, int side,
                                   const std::function<bool()>& wanted);
    void showLoaded(const QString& fileName, const std::vector<int>& positions, quint64 load,
                    const QuickLoad& quick);
    void fullDecoded(const QString& fileName, quint64 load, const QString& error,
                     const QImage& sharp);
    void setLoading(int change);

    struct Entry {
        QImage picture;
        std::shared_ptr<FullPicture> pending; // until the picture is first asked for
        QImage preview;
        QSize size;
        imaging::Framing framing;
        QString name;
        quint64 load = 0; // the load or set() that gave it
        // What the position showed before, until the full decode has succeeded.
        std::shared_ptr<Entry> before;
    };
    mutable std::array<Entry, positions::kCount> m_entries;
    int m_screenCopySide = 1024;
    // The last load or set() of each position; read by the workers too, to
    // skip a load that later ones have overtaken before it began.
    using Latest = std::array<std::atomic<quint64>, positions::kCount>;
    std::shared_ptr<Latest> m_latest = std::make_shared<Latest>();
    quint64 m_lastLoad = 0;
    int m_loading = 0;
};
