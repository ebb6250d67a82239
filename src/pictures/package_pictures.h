#pragma once
// The pictures of the package positions and the scanned picture (Image1 …
// Image20 on the screen), held apart from the widgets that show them. Printing,
// the editor, saving and the previews all read them here; the previews follow
// `changed`. Each position also keeps the framing of its print: where the
// print's crop window lies on the picture.

#include "imaging/cell_mapping.h"

#include <QImage>
#include <QObject>
#include <array>
#include <memory>

class FullPicture;

class PackagePictures : public QObject {
    Q_OBJECT
  public:
    static constexpr int kCount = 20;
    static constexpr int kScanned = 19; // Image20, the scanned picture

    // The picture at `index` (0 … 19) at full resolution, waiting for it
    // while it is still being decoded; null when there is none.
    const QImage& picture(int index) const;
    // What the screen shows of it: the copy given with it, else the picture.
    const QImage& preview(int index) const;
    // Its size, known while the full picture is still being decoded.
    QSize size(int index) const;

    // `preview`: a smaller copy of the same picture for the screen, shared
    // between the positions that got the same file; may be null. A new
    // picture starts unframed.
    void set(int index, const QImage& picture, const QImage& preview = {});
    // The same, with the full picture of `size` still being decoded.
    void set(int index, std::shared_ptr<FullPicture> full, const QImage& preview, QSize size);

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
        std::array<Position, kCount> m_positions;
    };
    Snapshot snapshot() const;

  signals:
    void changed(int index);
    void framingChanged(int index);

  private:
    struct Entry {
        QImage picture;
        std::shared_ptr<FullPicture> pending; // until the picture is first asked for
        QImage preview;
        QSize size;
        imaging::Framing framing;
    };
    mutable std::array<Entry, kCount> m_entries;
};
