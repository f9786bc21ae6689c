#pragma once

#include "model/FlowField.h"
#include "model/ModelState.h"
#include "model/Status.h"
#include "sim/RunClock.h"

namespace lakedrift {

// The flow frames a run moves with, on the run's clock: frame 0 at the
// start, the next frame before each step whose elapsed whole hour is even
// and below SimHours (RunClock), and the count of steps done. Every run
// steps through it the same way:
//   Start(); while (HasNextStep()) { BeginStep(newFrame); …move…; StepDone(); } End();
class RunFrames {
 public:
  explicit RunFrames(ModelState& state) : state_(state), frames_(state), clock_(state) {}

  // Opens FlowFileName, takes frame 0 and sets the clock to the start;
  // a failure changes nothing in the state.
  Status Start();
  // True from a successful Start while steps remain and no frame failed.
  bool HasNextStep() const { return frames_.IsOpen() && stepsDone_ < clock_.StepCount(); }
  // Takes the frame the next step moves with when the clock calls for one
  // (newFrame tells); a frame that cannot be read fails and ends the run.
  Status BeginStep(bool& newFrame);
  // Counts the step begun as done.
  void StepDone() { ++stepsDone_; }
  // Closes the flow file; safe to call more than once.
  void End() { frames_.Close(); }

  int StepCount() const { return clock_.StepCount(); }
  int LevelCount() const { return clock_.LevelCount(); }
  int StepsDone() const { return stepsDone_; }
  // Simulated hours at track level `level` (1 is the release).
  double HoursOfLevel(int level) const { return clock_.HoursOfLevel(level); }

 private:
  ModelState& state_;
  FlowFrames frames_;
  RunClock clock_;
  int stepsDone_ = 0;
};

}  // namespace lakedrift
