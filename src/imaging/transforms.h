// The editor's toolbar transforms: brightness step, mirror, flip and the quarter turn, over
// 32-bit pixel buffers (bytes blue, green, red, fourth byte; top-down rows).
#pragma once

#include "imaging/filter_engine.h"

#include <cstdint>

namespace imaging {

// The levels the editor offers for the brightness step.
inline constexpr int kMinBrightness = -99;
inline constexpr int kMaxBrightness = 99;

// Adds `level` to the blue, green and red byte of every pixel, each limited to 0 ... 255.
// `source` and `destination` have the same size; they may be the same buffer. The fourth
// byte is copied unchanged.
void AdjustBrightness(const BitmapView& source, const BitmapView& destination, int level);

// Left to right: new pixel (x, y) = old pixel (w - 1 - x, y). `source` and `destination`
// have the same size and are either the same buffer or do not overlap.
void MirrorPicture(const BitmapView& source, const BitmapView& destination);
// Top to bottom: new pixel (x, y) = old pixel (x, h - 1 - y). As MirrorPicture.
void FlipPicture(const BitmapView& source, const BitmapView& destination);
// The same, in place.
void MirrorPicture(const BitmapView& picture);
void FlipPicture(const BitmapView& picture);

// The size of the quarter turn of a w x h picture: h x w.
struct PictureSize {
    int width, height;
};
constexpr PictureSize QuarterTurnSize(int width, int height) {
    return {height, width};
}

// The quarter turn clockwise: new pixel (x, y) = old pixel (y, h - 1 - x). `destination` is
// QuarterTurnSize(source) and must not overlap `source`. Every pixel is an old one, so four
// turns give the picture back.
void RotateQuarter(const BitmapView& source, const BitmapView& destination);

} // namespace imaging
