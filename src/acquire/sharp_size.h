#pragma once
// Which print a scanned picture is good for: a print is sharp when the
// picture has at least 300 pixels for every inch of it.

#include <QSize>
#include <QString>

namespace acquire {

// "1800 × 1200 pixels: sharp up to 4x6", naming the largest print size the
// picture covers at 300 ppi either way round; "… pixels: too few for a sharp
// 2.5x3.25" when it covers none.
QString sharpSizeText(QSize pixels);

} // namespace acquire
