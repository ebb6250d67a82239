#pragma once
// How a picture of W x H pixels fills a print cell: the one rule that the
// previews, the package sheets, the single prints and parvello-print share,
// so that what a preview shows is what prints.
//
//   Stretch: the whole picture squeezed to the cell's shape.
//   Crop:    the cell covered, nothing distorted; a window of the cell's shape
//            cut from the picture, centred unless framed otherwise.
//   Fit:     the whole picture inside the cell, centred; the rest stays white.
//
// In crop and fit modes a picture may be turned a quarter turn (clockwise)
// when that keeps more of it (crop) or prints it larger (fit).

namespace imaging {

enum class FillMode { Stretch, Crop, Fit };

// The crop window the user chose for one print (crop mode only).
struct Framing {
    double zoom = 1;      // 1: the largest window of the cell's shape; 2: half as wide and high
    double centreX = 0.5; // the window's centre as a share of the (turned) picture's width
    double centreY = 0.5; // ... and of its height
    bool operator==(const Framing&) const = default;
};

struct Rect {
    double x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

struct CellMapping {
    Rect source;              // the region of the picture that prints, in its own pixels
    Rect target;              // where it lands, in the cell's units from its top-left corner
    bool quarterTurn = false; // the source is turned a quarter turn clockwise to land there
};

// `cellWidth` and `cellHeight` in any unit (twips, pixels); the target comes
// back in the same unit. A picture or cell without area maps to nothing.
CellMapping mapPictureToCell(int pictureWidth, int pictureHeight, double cellWidth,
                             double cellHeight, FillMode mode, bool turnToFit,
                             const Framing& framing = {});

// The framing once the picture has been dragged by `dx`, `dy` (shares of
// the cell's width and height; dragging right by half the cell moves the
// crop window left by half its width), with the centre kept where the window
// can still go, so dragging back past an edge moves it at once.
Framing draggedFraming(int pictureWidth, int pictureHeight, double cellWidth, double cellHeight,
                       bool turnToFit, const Framing& framing, double dx, double dy);

// The picture's pixels per inch on the print (the lower of the two
// directions), with the cell measured in units of which `unitsPerInch` make
// an inch. Zero for an empty mapping.
double pixelsPerInch(const CellMapping& mapping, double unitsPerInch);

} // namespace imaging
