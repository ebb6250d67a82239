#include "imaging/cell_mapping.h"

#include <algorithm>

namespace imaging {

namespace {

// The share of the larger of two proportions that the smaller one keeps.
double kept(double a, double b) {
    return std::min(a, b) / std::max(a, b);
}

// Whether a quarter turn keeps more of the picture in crop mode, or prints it
// larger in fit mode: both come down to the closer proportions.
bool turns(double pictureWidth, double pictureHeight, double cellAspect) {
    return kept(pictureHeight / pictureWidth, cellAspect) >
           kept(pictureWidth / pictureHeight, cellAspect);
}

// A rectangle of the picture as it lies turned clockwise, back in the
// picture's own pixels. Turned, the picture is `turnedWidth` wide.
Rect unturned(const Rect& r, double turnedWidth) {
    return {r.y, turnedWidth - r.x - r.width, r.height, r.width};
}

} // namespace

CellMapping mapPictureToCell(int pictureWidth, int pictureHeight, double cellWidth,
                             double cellHeight, FillMode mode, bool turnToFit,
                             const Framing& framing) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || !(cellWidth > 0) || !(cellHeight > 0))
        return {};
    const double pw = pictureWidth, ph = pictureHeight;
    const Rect whole{0, 0, pw, ph};
    const Rect cell{0, 0, cellWidth, cellHeight};
    const double aspect = cellWidth / cellHeight;
    if (mode == FillMode::Stretch)
        return {whole, cell, false};

    const bool turn = turnToFit && turns(pw, ph, aspect);
    // The picture as it lands: turned, its width is its height.
    const double tw = turn ? ph : pw, th = turn ? pw : ph;

    if (mode == FillMode::Fit) {
        const double scale = std::min(cellWidth / tw, cellHeight / th);
        const double w = tw * scale, h = th * scale;
        return {whole, {(cellWidth - w) / 2, (cellHeight - h) / 2, w, h}, turn};
    }

    // The largest window of the cell's shape, made smaller by the zoom and
    // kept inside the picture wherever its centre is asked to be.
    double w = tw, h = th;
    if (tw / th > aspect)
        w = th * aspect;
    else
        h = tw / aspect;
    const double zoom = std::max(1.0, framing.zoom);
    w /= zoom;
    h /= zoom;
    const double x = std::clamp(framing.centreX * tw - w / 2, 0.0, tw - w);
    const double y = std::clamp(framing.centreY * th - h / 2, 0.0, th - h);
    const Rect window{x, y, w, h};
    return {turn ? unturned(window, tw) : window, cell, turn};
}

Framing draggedFraming(int pictureWidth, int pictureHeight, double cellWidth, double cellHeight,
                       bool turnToFit, const Framing& framing, double dx, double dy) {
    const CellMapping m = mapPictureToCell(pictureWidth, pictureHeight, cellWidth, cellHeight,
                                           FillMode::Crop, turnToFit, framing);
    if (!(m.source.width > 0))
        return framing;
    // The window as it lies on the turned picture.
    const double tw = m.quarterTurn ? pictureHeight : pictureWidth;
    const double th = m.quarterTurn ? pictureWidth : pictureHeight;
    const Rect w = m.quarterTurn ? Rect{tw - m.source.y - m.source.height, m.source.x,
                                        m.source.height, m.source.width}
                                 : m.source;
    const double x = std::clamp(w.x - dx * w.width, 0.0, tw - w.width);
    const double y = std::clamp(w.y - dy * w.height, 0.0, th - w.height);
    return {framing.zoom, (x + w.width / 2) / tw, (y + w.height / 2) / th};
}

double pixelsPerInch(const CellMapping& mapping, double unitsPerInch) {
    if (!(mapping.target.width > 0) || !(mapping.target.height > 0))
        return 0;
    // Turned, the source's width runs down the cell.
    const double across = mapping.quarterTurn ? mapping.source.height : mapping.source.width;
    const double down = mapping.quarterTurn ? mapping.source.width : mapping.source.height;
    return std::min(across / (mapping.target.width / unitsPerInch),
                    down / (mapping.target.height / unitsPerInch));
}

} // namespace imaging
