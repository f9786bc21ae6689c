#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/DateTime.h"
#include "model/FlowField.h"
#include "model/ModelState.h"
#include "model/Status.h"
#include "sim/ParticleStepper.h"
#include "sim/RunFrames.h"
#include "sim/RunLabel.h"
#include "sim/RunPainter.h"

namespace lakedrift {

// A particle-tracking run from the release point through SimHours hours in
// steps of TimeStep seconds, drawn by a painter: Start() has the first
// picture drawn and releases the particles, each Step() advances one time
// step and has the picture brought up to date, End() closes the flow file. The caller yields to the window
// system between steps and sets the menus after End().
class SimulationRun {
 public:
  SimulationRun(ModelState& state, RunPainter& painter, uint64_t seed);
  ~SimulationRun();

  // Opens the flow file, reads frame 0, has map, vectors and release
  // marker drawn and puts every particle at the release point. Fails when
  // the flow file is missing or frame 0 cannot be read; the run is then
  // already ended and nothing in the state or the picture has changed.
  Status Start();
  // True while steps remain.
  bool HasNextStep() const;
  // One time step: frame change and redraw on even hours, particle moves,
  // time label. A flow file that ends before the frame it needs fails, and
  // the run is then already ended.
  Status Step();
  // Closes the flow file; safe to call more than once.
  void End();
  // Has the picture the run has made so far drawn on the view now in force:
  // map, vectors, release marker, every track and the last time label, in
  // the run's order. The redraws of a finished run (zoom, scroll, resize)
  // call it, so the result stays on screen.
  void RedrawResult();

  int StepCount() const { return frames_.StepCount(); }
  int StepsDone() const { return frames_.StepsDone(); }
  // True once Start has succeeded.
  bool Started() const { return started_; }
  int CurrentElement() const { return stepper_.CurrentElement(); }
  const std::string& LastLabel() const { return label_.Last(); }
  // Track level (1..StepCount+1) of particle p (1..), metres.
  double TrackX(int p, int level) const;
  float TrackY(int p, int level) const;
  int ParticlesMoved() const { return particlesMoved_; }
  uint64_t RandomDraws() const { return stepper_.RandomDraws(); }

 private:
  RunTracks Tracks() const { return RunTracks(trackX_, trackY_, particlesMoved_, levelCount_); }
  void MoveParticle(int p, int s);
  std::size_t TrackIndex(int p, int level) const;

  ModelState& state_;
  RunPainter& painter_;
  ParticleStepper stepper_;
  RunFrames frames_;
  int levelCount_ = 0;
  int particlesMoved_ = 0;  // particles 1..particlesMoved_ move
  RunLabel label_;
  std::vector<double> trackX_;
  std::vector<float> trackY_;
  std::vector<double> newY_;  // the last step's y as moved, before single precision
  bool started_ = false;
};

// Runs a whole simulation: Start, then Step and `yield` after each step
// until the steps are done or `yield` answers false, then End. Returns the
// first failure.
Status RunSimulation(SimulationRun& run, const std::function<bool()>& yield);

}  // namespace lakedrift
