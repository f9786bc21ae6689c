#include "sim/RunClock.h"

#include <cmath>

namespace lakedrift {
namespace {
constexpr long kFrameIntervalHours = 2;
}  // namespace

RunClock::RunClock(const ModelState& state)
    : timeStep_(state.TimeStep), stepHours_(state.TimeStep / kSecondsPerHour), simHours_(state.SimHours) {
  const double steps = kSecondsPerHour * state.SimHours / state.TimeStep;
  stepCount_ = static_cast<int>(std::floor(steps));
  levelCount_ = static_cast<int>(std::lround(steps + 1));
}

bool RunClock::Advance() {
  elapsedHours_ += stepHours_;
  const auto wholeHours = static_cast<long>(std::floor(elapsedHours_));
  return wholeHours % kFrameIntervalHours == 0 && elapsedHours_ < simHours_;
}

}  // namespace lakedrift
