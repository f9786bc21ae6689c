#pragma once
#include <string>

#include "sim/RunPainter.h"
#include "view/Surface.h"

namespace lakedrift {

// The simulated-time label at the left edge, nine tenths of the way down
// the view: a light-grey box over the extent the previous text takes there
// covers it, and the new text is printed on the box in the colour in force.
void DrawTimeLabel(Surface& surface, const std::string& previousText, const std::string& text);

}  // namespace lakedrift
