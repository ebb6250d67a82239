#pragma once
// The pictures of the package positions and the scanned picture (Image1 …
// Image20 on the screen), held apart from the widgets that show them. Printing,
// the editor, saving and the previews all read them here; the previews follow
// `changed`.

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

    // `preview`: a smaller copy of the same picture for the screen, shared
    // between the positions that got the same file; may be null.
    void set(int index, const QImage& picture, const QImage& preview = {});
    // The same, with the full picture still being decoded.
    void set(int index, std::shared_ptr<FullPicture> full, const QImage& preview);

  signals:
    void changed(int index);

  private:
    struct Entry {
        QImage picture;
        std::shared_ptr<FullPicture> pending; // until the picture is first asked for
        QImage preview;
    };
    mutable std::array<Entry, kCount> m_entries;
};
