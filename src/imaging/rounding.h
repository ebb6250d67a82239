// The program's rounding rule: the nearest integer, a tie to the even one.
#pragma once

namespace imaging {

// For |v| < 2^51, as a double: adding and taking away 1.5 x 2^52 leaves no fraction bits, so
// the default rounding mode does the rounding. Unlike a call to nearbyint this vectorises.
inline double roundEven(double v) {
    constexpr double kShift = 6755399441055744.0;
    return (v + kShift) - kShift;
}

} // namespace imaging
