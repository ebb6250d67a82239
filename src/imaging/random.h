// The process-wide source of chance for the filters that use it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace imaging {

// Next uniformly distributed single-precision number in [0, 1). The generator is never
// seeded by the program, so every run of the program draws the same sequence and
// successive filter runs continue it.
float NextUniform();

// Draws n numbers in a row into out (the same numbers as n calls of NextUniform).
void FillUniform(float* out, std::size_t n);

// How many numbers have been drawn since the program started.
std::uint64_t UniformDrawCount();

} // namespace imaging
