#pragma once
#include <vector>

#include "RegionFlow.h"
#include "WindScenario.h"

namespace lakedrift::datagen {

// The depth-averaged flow of a deep lake does not follow each change of the
// wind at once: bottom friction spins it up and down over H/r, days for the
// lake's mean depth. Each frame's forcing is the wind stress passed through
// a first-order lag with that time, started well before the first frame so
// that the week begins spun up.
class FrictionalLag {
 public:
  // The lagged forcing of every frame of a scenario week.
  static std::vector<Forcing> Frames(const WindScenario& scenario);

  // The lag's time constant, hours.
  static double TimeConstantHours();
};

}  // namespace lakedrift::datagen
