// A picture display of the editor: shows its picture stretched to the whole box. Painting uses a
// copy at the box's size, made once per picture.
#pragma once

#include <QFrame>
#include <QImage>

namespace editor {

class PictureDisplay : public QFrame {
    Q_OBJECT
  public:
    explicit PictureDisplay(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

  private:
    void rescale();

    QImage m_picture;
    QImage m_shown; // m_picture at the size of the contents rectangle
};

} // namespace editor
