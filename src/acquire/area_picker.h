#pragma once
// The glass of the scanner drawn to scale, with the preview scan on it and
// the scan area as a rectangle the user drags: press outside it to draw a
// new one, inside it to move it, on a handle to move that corner or edge.

#include <QImage>
#include <QRectF>
#include <QWidget>

namespace acquire {

class AreaPicker : public QWidget {
    Q_OBJECT
  public:
    explicit AreaPicker(QWidget* parent = nullptr);

    void setGlass(const QRectF& mm);
    void setPreview(const QImage& picture); // a picture of the whole glass
    void setArea(const QRectF& mm);
    QRectF area() const { return m_area; }
    QImage preview() const { return m_preview; }

    // Where a point of the glass (millimetres) is drawn, and back.
    QPointF toWidget(const QPointF& mm) const;
    QPointF toGlass(const QPointF& widgetPoint) const;

    QSize sizeHint() const override { return {300, 400}; }

  signals:
    void areaChanged(const QRectF& mm);

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QRectF view() const; // the glass's place in the widget
    void dragTo(const QPointF& mm);

    QRectF m_glass;
    QRectF m_area;
    QImage m_preview;
    // What the press grabbed: the edges that follow the mouse (left, top,
    // right, bottom), or all four to move the rectangle.
    bool m_moving[4] = {false, false, false, false};
    QPointF m_pressMm;
    QRectF m_pressArea;
};

} // namespace acquire
