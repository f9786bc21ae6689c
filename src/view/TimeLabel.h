#pragma once
#include <string>

#include "view/Surface.h"

namespace lakedrift {

// What the time label of a run's step or an animation's frame starts with;
// the date and time follow it.
inline constexpr const char* kTimeLabelPrefix = "Simulation Time:";

// The simulated-time label at the left edge, nine tenths of the way down
// the view: a light-grey box over the extent the previous text takes there
// covers it, and the new text is printed on the box in the colour in force.
void DrawTimeLabel(Surface& surface, const std::string& previousText, const std::string& text);

}  // namespace lakedrift
