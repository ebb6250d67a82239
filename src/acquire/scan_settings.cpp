#include "acquire/scan_settings.h"

#include "common/units.h"

#include <algorithm>
#include <cmath>

namespace acquire {

namespace {

constexpr double photoDpi = 300;
const QString colourMode = QStringLiteral("Color");

// The usual resolutions of flatbed scanners, offered when a device takes any
// value of a range.
constexpr double usualResolutions[] = {50, 75, 100, 150, 200, 300, 400, 600, 1200, 2400, 4800};
// Below this a scan has too few pixels for any print.
constexpr double lowestPhotoDpi = 50;

} // namespace

double NumberConstraint::nearest(double v) const {
    if (!values.isEmpty())
        return *std::min_element(values.begin(), values.end(), [v](double a, double b) {
            return std::abs(a - v) < std::abs(b - v);
        });
    if (max < min)
        return v;
    double x = std::clamp(v, min, max);
    if (step > 0) {
        x = min + std::round((x - min) / step) * step;
        if (x > max)
            x -= step;
    }
    if (wholeNumbers)
        x = std::round(x);
    return x;
}

QRectF Capabilities::glass(double dpi) const {
    if (!hasArea)
        return {};
    const double left = fromAreaUnits(areaX.min, areaUnit, dpi);
    const double top = fromAreaUnits(areaY.min, areaUnit, dpi);
    return QRectF(QPointF(left, top), QPointF(fromAreaUnits(areaX.max, areaUnit, dpi),
                                              fromAreaUnits(areaY.max, areaUnit, dpi)));
}

QVector<double> resolutionChoices(const NumberConstraint& resolution) {
    if (!resolution.values.isEmpty()) {
        QVector<double> list = resolution.values;
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
        // A device that only scans coarser still gets its finest offered.
        const auto photo = std::lower_bound(list.begin(), list.end(), lowestPhotoDpi);
        list.erase(list.begin(), photo == list.end() ? photo - 1 : photo);
        return list;
    }
    QVector<double> list;
    auto add = [&](double v) {
        v = resolution.nearest(v);
        if (!list.contains(v))
            list.push_back(v);
    };
    const double lowest = std::max(resolution.min, lowestPhotoDpi);
    add(lowest);
    for (double v : usualResolutions)
        if (v > lowest && v < resolution.max)
            add(v);
    add(resolution.max);
    std::sort(list.begin(), list.end());
    return list;
}

double defaultResolution(const Capabilities& caps) {
    const QVector<double> offered = resolutionChoices(caps.resolution);
    if (offered.isEmpty())
        return 0;
    return *std::min_element(offered.begin(), offered.end(), [](double a, double b) {
        return std::abs(a - photoDpi) < std::abs(b - photoDpi);
    });
}

ScanChoice fitToDevice(const ScanChoice& wanted, const Capabilities& caps) {
    ScanChoice fitted;
    const QVector<double> offered = resolutionChoices(caps.resolution);
    fitted.resolution = wanted.resolution > 0 && offered.contains(wanted.resolution)
                            ? wanted.resolution
                            : defaultResolution(caps);
    if (caps.modes.contains(wanted.mode))
        fitted.mode = wanted.mode;
    else if (caps.modes.contains(colourMode))
        fitted.mode = colourMode;
    else
        fitted.mode = caps.mode;
    const QRectF glass = caps.glass(fitted.resolution);
    const QRectF inside = wanted.area.normalized() & glass;
    fitted.area = inside.width() > 0 && inside.height() > 0 ? inside : glass;
    return fitted;
}

double toAreaUnits(double mm, AreaUnit unit, double dpi) {
    return unit == AreaUnit::Pixel ? mm / units::kMmPerInch * dpi : mm;
}

double fromAreaUnits(double value, AreaUnit unit, double dpi) {
    return unit == AreaUnit::Pixel && dpi > 0 ? value * units::kMmPerInch / dpi : value;
}

} // namespace acquire
