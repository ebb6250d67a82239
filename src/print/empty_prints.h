#pragma once
// Prints without a picture. A package none of whose positions has a picture
// would print a sheet of blank cells: printing it is refused. A package with
// some empty positions prints, and the print question says which stay blank.

#include "print/layouts.h"

#include <QStringList>

class PackagePictures;

namespace print {

// "The 4x6 package has no picture yet.", one sentence for each package none
// of whose positions has a picture; empty when every package has one.
QStringList packagesWithoutPicture(const Packages& packages, const PackagePictures& pictures);

// "2 of the 9 2.5x3.25 prints have no picture: they stay blank.", one
// sentence for each package with some positions empty.
QStringList emptyPrintWarnings(const Packages& packages, const PackagePictures& pictures);

} // namespace print
