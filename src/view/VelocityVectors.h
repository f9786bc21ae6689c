#pragma once
#include "model/ModelState.h"
#include "view/Surface.h"

namespace lakedrift {

// Draws the current flow frame on top of the picture: an arrow at every
// node that is not a boundary node, the fastest node so far S = MapSize ×
// VectorScale km long, and below the map a 1 cm/s legend arrow with its
// text. Sets VectorsShown, leaves the fore colour dark blue and the line
// width 1. With MaxSpeed ≤ 0 there is no length to scale by, so nothing is
// drawn.
void DrawVectors(Surface& surface, ModelState& state);

}  // namespace lakedrift
