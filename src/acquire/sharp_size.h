#pragma once
// Which print a scanned picture is good for, by the program's one sharpness
// rule (common/sharpness.h).

#include <QSize>
#include <QString>

namespace acquire {

// "944 × 625 pixels: sharp up to 4x6 (156 ppi)", naming the largest print
// size the picture covers sharply either way round and the pixels an inch it
// gives that print; "… pixels: too few for a sharp 2.5x3.25 (120 ppi)" when
// it covers none.
QString sharpSizeText(QSize pixels);

} // namespace acquire
