#pragma once
#include <cassert>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "model/ModelState.h"

namespace lakedrift {

// What the time label of a run's step or an animation's frame starts with;
// the date and time follow it.
inline constexpr const char* kTimeLabelPrefix = "Simulation Time:";

// The track tables of a run as a painter reads them: `levels` track levels
// from `firstLevel` on (all of them from 1, or a window of the last few) of
// particle 1..Particles(), metres, a particle's levels side by side.
class RunTracks {
 public:
  RunTracks(const std::vector<double>& x, const std::vector<float>& y, int particles, int levels,
            int firstLevel = 1)
      : x_(x), y_(y), particles_(particles), levels_(levels), firstLevel_(firstLevel) {}
  int Particles() const { return particles_; }
  double X(int p, int level) const { return x_[Index(p, level)]; }
  float Y(int p, int level) const { return y_[Index(p, level)]; }

 private:
  std::size_t Index(int p, int level) const {
    assert(level >= firstLevel_ && level < firstLevel_ + levels_);
    return static_cast<std::size_t>(p - 1) * static_cast<std::size_t>(levels_) +
           static_cast<std::size_t>(level - firstLevel_);
  }
  const std::vector<double>& x_;
  const std::vector<float>& y_;
  int particles_;
  int levels_;
  int firstLevel_;
};

// What a run asks to have drawn, in the order it asks; the view fulfils it.
class RunPainter {
 public:
  virtual ~RunPainter() = default;
  // Frame 0 is in the state: the first picture (full view, map, vectors,
  // release marker).
  virtual void RunStarted(ModelState& state) = 0;
  // The release marker over the picture.
  virtual void ReleaseMarker(const ModelState& state) = 0;
  // A new frame is in force, or the view changed: the whole picture afresh
  // with the segments of steps 1..stepsDone.
  virtual void FrameChanged(ModelState& state, const RunTracks& tracks, int stepsDone) = 0;
  // The segments step `step` has added; endY holds their ends' y (particle
  // p at p − 1) as moved, before the tables keep it in single precision, or
  // is empty when the ends are the tables' own.
  virtual void NewSegments(const RunTracks& tracks, int step, std::span<const double> endY) = 0;
  // The time label `text` over the box the previous text `boxText` took.
  virtual void TimeLabel(const std::string& boxText, const std::string& text) = 0;
};

}  // namespace lakedrift
