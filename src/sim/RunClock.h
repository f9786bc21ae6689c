#pragma once

#include "model/ModelState.h"

namespace lakedrift {

inline constexpr double kSecondsPerHour = 3600.0;

// The simulated clock of a particle-tracking run: SimHours hours in steps of
// TimeStep seconds, with a new flow frame at every even whole hour before
// the end (frames are two hours apart; the last step reuses the last frame).
class RunClock {
 public:
  explicit RunClock(const ModelState& state);
  // Steps in the run: 3600 × SimHours / TimeStep, whole steps only.
  int StepCount() const { return stepCount_; }
  // Track levels: the release and one per step.
  int LevelCount() const { return levelCount_; }
  // Simulated hours at track level `level` (1 is the release).
  double HoursOfLevel(int level) const { return (level - 1) * timeStep_ / kSecondsPerHour; }
  // Advances one step; true when the step moves with a newly read frame.
  bool Advance();
  double ElapsedHours() const { return elapsedHours_; }

 private:
  double timeStep_;  // s
  double stepHours_;
  double simHours_;
  int stepCount_;
  int levelCount_;
  double elapsedHours_ = 0;
};

}  // namespace lakedrift
