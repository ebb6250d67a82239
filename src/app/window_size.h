#pragma once
// The main window's size and place among the screens: as designed or as the
// user left it, always on a screen and within its work area.

#include <QList>
#include <QMargins>
#include <QRect>
#include <optional>

namespace windowsize {

// The smallest the window may be: its designed size, or what the work area
// holds when that is less.
QSize smallest(QSize designed, const QRect& workArea);

// Where the window opens. `workAreas`: the screens' work areas, the
// primary's first; `frame`: what the window manager likely adds around the
// window. A remembered geometry counts when its middle lies on a work area;
// it is then kept at least `minimum`, no larger than that work area and moved
// wholly into it, where the user had it when it was whole there. Otherwise
// the designed size, frame included no larger than the primary's work area,
// opens centred on it.
QRect startGeometry(const std::optional<QRect>& remembered, QSize designed, QSize minimum,
                    const QList<QRect>& workAreas, const QMargins& frame);

} // namespace windowsize
