#pragma once
// A picture of random colours, the same for the same seed.

#include <QImage>
#include <random>

inline QImage randomPicture(int w, int h, unsigned seed) {
    QImage p(w, h, QImage::Format_RGB32);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.setPixel(x, y, 0xFF000000u | (rng() & 0xFFFFFFu));
    return p;
}
