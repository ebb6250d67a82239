#pragma once
// One preview image of the main window: shows one of the package pictures
// stretched to its box with a single-line border, and follows it when it
// changes. Painting uses a screen-sized copy made once per picture.

#include <QImage>
#include <QPixmap>
#include <QWidget>

class PackagePictures;

class PreviewImage : public QWidget {
    Q_OBJECT
  public:
    // Shows pictures.preview(number - 1).
    PreviewImage(const PackagePictures& pictures, int number, QWidget* parent = nullptr);

    int number() const { return m_number; }
    QString name() const;

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
    void pictureChanged(int index);

    const PackagePictures& m_pictures;
    int m_number;
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
