#pragma once
// One preview image of the main window: shows one of the package pictures
// with a single-line border, and follows it when it changes. A print
// position shows its print: the cell's shape as large as the box holds,
// filled the way the sheet will be, with a badge when the print will look
// soft. The scanned picture shows in its own shape, centred. Painting uses a
// screen-sized copy made once per picture, scaled to the box at the screen's
// device pixels.
//
// From the keyboard a print takes the focus (Tab, or the arrow keys from
// the nearest preview that way), and Space or Return selects it as a click
// does. Its accessible name says which print it is and what it shows.
//
// In crop mode the preview also frames its print: dragging moves the crop
// window, the wheel and + / - zoom it, Ctrl with the arrow keys moves it,
// double-click and 0 put it back. The framing is kept with the picture, in
// the package pictures.
//
// A picture file dragged from the file manager may be dropped on a print.

#include "print/cell_fill.h"
#include "print/layouts.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

class PackagePictures;
class QPainter;

class PreviewImage : public QWidget {
    Q_OBJECT
  public:
    // Shows pictures.preview(position) (0 … 19, see pictures/positions.h).
    PreviewImage(PackagePictures& pictures, int position, QWidget* parent = nullptr);

    int position() const { return m_position; }
    QString name() const;

    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }

    // How the picture fills its print.
    void setFillMode(imaging::FillMode fill, bool turnToFit);
    // Whether the print will look soft (and the badge shows).
    bool looksSoft() const;
    // For a soft print, its picture's pixels and the pixels an inch it gets,
    // added to the tool tip; empty otherwise.
    QString softText() const;
    // Where the print is drawn inside the box.
    QRect printArea() const;

    // Crop mode: zoom the print's window in (positive) or out by steps, or
    // move it by shares of the print's width and height.
    void zoomBy(int steps);
    void moveBy(double dx, double dy);

  signals:
    void clicked(int position);
    // A picture file was dropped on the print.
    void fileDropped(int position, const QString& fileName);

  protected:
    bool event(QEvent*) override;
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void dragEnterEvent(QDragEnterEvent*) override;
    void dropEvent(QDropEvent*) override;

  private:
    void pictureChanged(int index);
    void framingChanged(int index);
    print::CellOptions cellOptions() const;
    bool framable() const;
    void paintSoftBadge(QPainter& p, const QRect& area);
    PreviewImage* neighbour(int arrowKey) const;

    PackagePictures& m_pictures;
    int m_position;
    QImage m_screenCopy;
    QPixmap m_cache; // the picture at exactly the size it is drawn
    bool m_selected = false;
    imaging::FillMode m_fill = imaging::FillMode::Stretch;
    bool m_turnToFit = true;
    QPointF m_dragFrom; // where the last drag step ended
};

// The device pixels of `logical` screen pixels at `ratio`.
QSize deviceSize(QSize logical, qreal ratio);
// The screen copy painted into a box as the print fills `cell` (scaled to
// the box without one), at the screen's device pixels (`ratio` of them to a
// pixel of `box`), once per copy, box size and options: the wallet tab's nine
// boxes mostly come in four sizes.
QPixmap printPixmap(const QImage& screenCopy, const print::Cell* cell, QSize box, qreal ratio,
                    const print::CellOptions& options);
// The side of the pictures' screen copies, in device pixels: enough for the
// largest preview box when the window fills the largest screen (the columns
// beside the previews keeping their size), and at least twice the designed
// box, so that the final smooth scaling still has detail. The sizes are the
// window's and a page's designed ones, in screen pixels.
int screenCopySide(QSize designedWindow, QSize designedPage);
