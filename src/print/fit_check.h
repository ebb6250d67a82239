#pragma once
// Will it fit? Before the print question, what a ticked package or a single
// print would lose on the printer's paper:
// "The 8x10 print is 3 mm wider than this printer can print on A4: its right
// edge will be cut."

#include "print/layouts.h"
#include "print/paper.h"

#include <QStringList>

namespace print {

// One sentence for each package that crosses the printable area; empty when
// all fit.
QStringList packageFitWarnings(const Paper& paper, const Packages& packages);

// The same for one picture alone at size 0..4, upright or on its side.
QString singleFitWarning(const Paper& paper, int sizeIndex, bool horizontal);

} // namespace print
