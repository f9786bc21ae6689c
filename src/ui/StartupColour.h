#pragma once
#include <cstdint>

#include "view/Palette.h"

namespace lakedrift {

// The start-up window's background from three uniform numbers in [0, 1):
// each times 256, rounded to the nearest integer (halves to even), 256
// taken as 255.
Rgb StartupColour(float r1, float r2, float r3);

// The colour from three draws of a generator seeded with `seed`.
Rgb RandomStartupColour(uint64_t seed);

}  // namespace lakedrift
