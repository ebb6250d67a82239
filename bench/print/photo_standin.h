#pragma once
// A photograph stand-in for the print benchmarks.

#include <QImage>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>

namespace benchphoto {

// 6000 x 4000, smooth shapes plus sensor noise, so that compression has
// about as much to do as with a real picture.
inline QImage picture(int seed) {
    QImage img(6000, 4000, QImage::Format_RGB32);
    QRandomGenerator rng(quint32(seed) * 7919u);
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const double v = std::sin(x / (150.0 + seed * 20)) * std::cos(y / (90.0 + seed * 15));
            const int n = int(rng.bounded(17)) - 8;
            line[x] = qRgb(std::clamp(int(128 + 100 * v) + n, 0, 255),
                           std::clamp(int(60 + seed * 20 + 40 * v) + n, 0, 255),
                           std::clamp(int(200 - 90 * v) + n, 0, 255));
        }
    }
    return img;
}

} // namespace benchphoto
