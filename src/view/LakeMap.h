#pragma once
#include "model/ModelState.h"
#include "view/Surface.h"

namespace lakedrift {

// Clears the surface to white and draws the background of every picture:
// the region's title when its anchor is in view, the dotted 10 × 10 grid
// with truncated km labels, and the coast rings in black. Leaves the fore
// colour black, the font at 8 points and the line style solid.
void DrawMap(Surface& surface, const ModelState& state);

}  // namespace lakedrift
