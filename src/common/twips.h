#pragma once
// Twips, 1440 to the inch: window geometry and the printed layouts are given
// in them. The screen has 1440 / logical DPI twips per pixel.

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <cmath>

namespace twips {

inline constexpr int kPerInch = 1440;

inline double perPixel() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return kPerInch / (dpi > 0 ? dpi : 96.0);
}

inline int toPixels(double twips) {
    return int(std::lround(twips / perPixel()));
}

inline double fromPixels(double pixels) {
    return pixels * perPixel();
}

inline QRect toPixels(int left, int top, int width, int height) {
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace twips
