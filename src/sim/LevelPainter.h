#pragma once
#include <span>
#include <vector>

#include "model/ModelState.h"
#include "model/Status.h"
#include "sim/RunFrames.h"
#include "sim/RunLabel.h"
#include "sim/RunPainter.h"

namespace lakedrift {

// A run's picture drawn from its track levels as an engine hands them over
// one at a time (ParallelRun's level callback), with the painter calls
// SimulationRun makes, in its order: the first picture and the release
// marker at level 1; at level s + 1 the redraw when step s took a new
// frame, the segments of step s and the time label. It reads the flow
// frames into `state` itself, for the vectors, and holds the positions of
// the current and previous level only, so the painter must keep the older
// tracks (RunPicture does on a surface that offers an overlay).
class LevelPainter {
 public:
  LevelPainter(ModelState& state, RunPainter& painter) : state_(state), painter_(painter), frames_(state) {}

  // Keeps track level `level` of every particle (x and y in metres,
  // particle p at index p − 1) for Draw; the levels come in order from 1,
  // each drawn before the next is taken.
  Status Take(int level, std::span<const double> x, std::span<const float> y);
  // Draws the level taken last, once. Fails when the flow file cannot give
  // the frame the level was moved with.
  Status Draw();
  // True when a level has been taken and not yet drawn.
  bool Pending() const { return !drawn_; }
  // Closes the flow file; safe to call more than once.
  void End() { frames_.End(); }

 private:
  Status Started();
  Status Stepped(int level);
  // The two levels held, as the painter reads them.
  RunTracks Window() const;

  ModelState& state_;
  RunPainter& painter_;
  RunFrames frames_;
  RunLabel label_;
  std::vector<double> x_;  // previous and current level of each particle, side by side
  std::vector<float> y_;
  int firstLevel_ = 1;  // the previous level held
  int taken_ = 0;       // the level taken last
  bool drawn_ = true;   // whether it has been drawn
};

}  // namespace lakedrift
