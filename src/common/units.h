#pragma once
// Every unit Parvello measures in, and the conversions between them, once.
// Twips (1440 to the inch) are the unit of window geometry and of the print
// layouts; paper and PDF pages are in points (72 to the inch); CUPS gives
// paper in hundredths of a millimetre; messages speak whole millimetres. The
// screen has 1440 / logical DPI twips per pixel.

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <cmath>

namespace units {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kPointsPerInch = 72;
inline constexpr int kTwipsPerPoint = kTwipsPerInch / kPointsPerInch;
inline constexpr double kMmPerInch = 25.4;

constexpr double inchesToTwips(double inches) {
    return inches * kTwipsPerInch;
}

constexpr double twipsToPoints(double twips) {
    return twips / kTwipsPerPoint;
}

constexpr double pointsToTwips(double points) {
    return points * kTwipsPerPoint;
}

constexpr double pointsToMm(double points) {
    return points / kPointsPerInch * kMmPerInch;
}

constexpr double mmToPoints(double mm) {
    return mm / kMmPerInch * kPointsPerInch;
}

constexpr double hundredthsMmToPoints(int hundredths) {
    return mmToPoints(hundredths / 100.0);
}

// Dots per centimetre (an IPP resolution may come so) as dots per inch.
constexpr int dpcmToDpi(int dpcm) {
    return int(dpcm * kMmPerInch / 10 + 0.5);
}

// Device pixels of one twip, and of one point, at `dpi`.
constexpr double dotsPerTwip(double dpi) {
    return dpi / kTwipsPerInch;
}

constexpr double dotsPerPoint(double dpi) {
    return dpi / kPointsPerInch;
}

inline double twipsPerScreenPixel() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return kTwipsPerInch / (dpi > 0 ? dpi : 96.0);
}

inline int toScreenPixels(double twips) {
    return int(std::lround(twips / twipsPerScreenPixel()));
}

inline double fromScreenPixels(double pixels) {
    return pixels * twipsPerScreenPixel();
}

inline QRect toScreenPixels(int left, int top, int width, int height) {
    return QRect(toScreenPixels(left), toScreenPixels(top), toScreenPixels(width),
                 toScreenPixels(height));
}

} // namespace units
