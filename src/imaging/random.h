// The process-wide source of chance for the filters that use it.
#pragma once

#include <cstdint>

namespace imaging {

// Next uniformly distributed single-precision number in [0, 1). The generator is never
// seeded by the program, so every run of the program draws the same sequence and
// successive filter runs continue it.
float NextUniform();

// How many numbers have been drawn since the program started.
std::uint64_t UniformDrawCount();

} // namespace imaging
