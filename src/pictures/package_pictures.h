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
#include <memory>

class FullPicture;

class PackagePictures : public QObject {
    Q_OBJECT
  public:
    // The picture at position `index` at full resolution, waiting for it
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
    mutable std::array<Entry, positions::kCount> m_entries;
};
