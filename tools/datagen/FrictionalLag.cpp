#include "FrictionalLag.h"

#include <cmath>

#include "StreamFunctionSolver.h"

namespace lakedrift::datagen {

namespace {

// H/r for the lake's mean depth (570 m) and the friction velocity of the
// stream-function solver (1.5 mm/s): about 4.4 days.
constexpr double kMeanDepthM = 570.0;
constexpr double kSecondsPerHour = 3600.0;
// Frames of wind run through the lag before the first frame: three time
// constants leave 5 % of the starting state.
constexpr double kSpinUpTimeConstants = 3.0;

}  // namespace

double FrictionalLag::TimeConstantHours() {
  return kMeanDepthM / StreamFunctionSolver::kFrictionVelocity / kSecondsPerHour;
}

std::vector<Forcing> FrictionalLag::Frames(const WindScenario& scenario) {
  const double step = WindScenario::kHoursPerFrame;
  const int spinUp = static_cast<int>(std::ceil(kSpinUpTimeConstants * TimeConstantHours() / step));
  // The exact response of the lag over one step to a stress that changes
  // linearly from one frame to the next.
  const double decay = std::exp(-step / TimeConstantHours());
  const double rampShare = 1.0 - (1.0 - decay) * TimeConstantHours() / step;
  auto blend = [&](double lagged, double from, double to) {
    return decay * lagged + (1.0 - decay) * from + rampShare * (to - from);
  };
  Forcing lagged = Forcing::Of(scenario.At(-spinUp));
  Forcing previous = lagged;
  std::vector<Forcing> frames;
  for (int k = -spinUp + 1; k < WindScenario::kFrameCount; ++k) {
    const Forcing now = Forcing::Of(scenario.At(k));
    lagged.stress = {blend(lagged.stress.x, previous.stress.x, now.stress.x),
                     blend(lagged.stress.y, previous.stress.y, now.stress.y)};
    lagged.breezeStress = blend(lagged.breezeStress, previous.breezeStress, now.breezeStress);
    previous = now;
    if (k >= 0) frames.push_back(lagged);
  }
  return frames;
}

}  // namespace lakedrift::datagen
