#pragma once
// One tab page of the main window's previews: holds widgets placed by twip
// rectangles (the boxes of preview_table.h) and keeps their arrangement as the
// page changes size: one scale for the whole page, as large as the page holds,
// centred across and from the top down. A margin of 120 twips stays around
// the boxes.

#include <QRect>
#include <QWidget>
#include <vector>

class PreviewPage : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewPage(QWidget* parent = nullptr);

    // Places `widget` (made a child of the page) at `twips`, in the page's
    // designed coordinates.
    void addBox(QWidget* widget, const QRect& twips);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    void placeBoxes();
    QRect designed() const; // the boxes and the margin around them, in twips

    struct Box {
        QWidget* widget;
        QRect twips;
    };
    std::vector<Box> m_boxes;
};
