#pragma once
// What a scanner accepts and what the user asks of it: resolution, mode and
// scan area. The device describes its options in its own terms (a list of
// values or a range with a step, whole numbers or fractions, millimetres or
// pixels); the user thinks in dots per inch and millimetres on the glass.

#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>

namespace acquire {

// The values a numeric option accepts: a list, or a range with a step
// (a step of 0 means any value in the range).
struct NumberConstraint {
    QVector<double> values; // when the device lists its values; else the range below
    double min = 0;
    double max = 0;
    double step = 0;
    bool wholeNumbers = false;

    // The accepted value nearest to v.
    double nearest(double v) const;
};

enum class AreaUnit { Millimetre, Pixel };

// One scanner's options as it declares them.
struct Capabilities {
    QStringList modes; // as the device names them
    QString mode;      // the device's current mode
    NumberConstraint resolution;
    bool hasArea = false;
    AreaUnit areaUnit = AreaUnit::Millimetre;
    NumberConstraint areaX; // what tl-x and br-x accept
    NumberConstraint areaY; // what tl-y and br-y accept

    // The whole glass in millimetres (pixel units read at the given resolution).
    QRectF glass(double dpi) const;
};

// What the user asks for (or what the device accepted of it).
struct ScanChoice {
    double resolution = 0; // dots per inch
    QString mode;
    QRectF area; // millimetres from the glass's top-left corner
};

// The resolutions the window offers, none below 50 dpi (a device scanning
// only coarser offers its finest): the device's list, or for a range the
// usual steps from 50 to 4800 dpi that fall in it, with its ends.
QVector<double> resolutionChoices(const NumberConstraint& resolution);

// The device's resolution nearest to 300 dpi, a photo's printing resolution.
double defaultResolution(const Capabilities& caps);

// A remembered choice made valid for the device: a resolution it offers, a
// mode it names (colour when nothing is remembered and it has colour), an
// area inside the glass (the whole glass when none is remembered).
ScanChoice fitToDevice(const ScanChoice& wanted, const Capabilities& caps);

// Millimetres to an area option's units and back; pixel units count at dpi.
double toAreaUnits(double mm, AreaUnit unit, double dpi);
double fromAreaUnits(double value, AreaUnit unit, double dpi);

} // namespace acquire
