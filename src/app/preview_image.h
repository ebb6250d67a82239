#pragma once
// One preview image of the main window: holds a picture at full resolution
// (printing and the editor use it) and shows it stretched to its box with a
// single-line border. Painting uses a screen-sized copy made once per picture.

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <memory>

class FullPicture;

class PreviewImage : public QWidget {
    Q_OBJECT
  public:
    PreviewImage(int number, QWidget* parent = nullptr);

    int number() const { return m_number; }
    QString name() const;

    // The picture at full resolution; waits for it while it is still being
    // decoded.
    const QImage& picture() const;
    // screenCopy: a smaller copy of the same picture for painting, shared
    // between the previews that got the same file; may be null.
    void setPicture(const QImage& picture, const QImage& screenCopy = {});
    // The same, with the full picture still being decoded.
    void setPicture(std::shared_ptr<FullPicture> full, const QImage& screenCopy);

    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }

  signals:
    void clicked(int number);

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void resizeEvent(QResizeEvent*) override;

  private:
    int m_number;
    mutable QImage m_picture;
    mutable std::shared_ptr<FullPicture> m_full; // until picture() is first asked for
    QImage m_screenCopy;
    QPixmap m_cache; // the picture at exactly the box's size
    bool m_selected = false;
};

// A copy small enough for any preview box, made once per loaded file: at most
// screenCopySide() pixels either way.
QImage makeScreenCopy(const QImage& picture);
// Twice the largest preview box in device pixels, so that the final smooth
// scaling still has detail.
int screenCopySide();
