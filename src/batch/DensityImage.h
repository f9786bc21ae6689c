#pragma once
#include <filesystem>

#include "batch/DensityGrid.h"
#include "model/ModelState.h"
#include "model/Status.h"
#include "view/Palette.h"

namespace lakedrift {

// The classes of the density ramp, light (few particles) to dark (many).
inline constexpr int kRampClasses = 7;

// The ramp class 0..kRampClasses − 1 of a cell's count, classes evenly
// spaced in log(count + 1) up to the fullest cell's; −1 for an empty cell.
int RampClass(long count, long maxCount);

// The colour of a ramp class: a sequential, colour-blind-safe ramp from
// pale yellow through green to dark blue.
Rgb RampColour(int rampClass);

// The map of the state's view at size × size pixels with each cell of the
// grid filled by the ramp colour of its count (empty cells white) and a
// legend of the classes' counts; PNG or BMP by the extension, written whole
// or not at all.
Status WriteDensityImage(const DensityGrid& grid, ModelState& state, int size,
                         const std::filesystem::path& path);

}  // namespace lakedrift
