#pragma once
#include <cstdint>
#include <vector>

#include "model/DateTime.h"
#include "model/FlowField.h"
#include "model/ModelState.h"
#include "model/Status.h"
#include "sim/ParticleStepper.h"
#include "sim/RunFrames.h"

namespace lakedrift {

// The particle-tracking run without a picture and without track tables:
// the same frames, element walk and random numbers in the same order as the
// drawn run with the same seed, but only the current level of every
// particle is kept, so memory grows with the particle count alone.
class HeadlessRun {
 public:
  // Reads Season, TimeStep, SimHours, ParticleCount, DiffusionCoef, the
  // release point and FlowFileName from the state when started.
  HeadlessRun(ModelState& state, uint64_t seed);
  ~HeadlessRun();

  // Opens the flow file, reads frame 0 and puts every particle at the
  // release point (level 1).
  Status Start();
  bool HasNextStep() const;
  // Moves every particle one step; the positions become the next level.
  Status Step();
  void End();

  int StepCount() const { return frames_.StepCount(); }
  int StepsDone() const { return frames_.StepsDone(); }
  // The track level the positions hold: 1 after Start, s + 1 after step s.
  int Level() const { return StepsDone() + 1; }
  int ParticleCount() const { return static_cast<int>(x_.size()); }
  const std::vector<double>& X() const { return x_; }  // m
  const std::vector<float>& Y() const { return y_; }   // m
  // Hours since the scenario's start of a track level.
  double HoursOfLevel(int level) const;
  uint64_t RandomDraws() const { return stepper_.RandomDraws(); }

 private:
  ModelState& state_;
  ParticleStepper stepper_;
  RunFrames frames_;
  std::vector<double> x_;
  std::vector<float> y_;
};

}  // namespace lakedrift
