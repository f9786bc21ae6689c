#pragma once
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "model/ModelState.h"

namespace lakedrift {

// What the time label of a run's step or an animation's frame starts with;
// the date and time follow it.
inline constexpr const char* kTimeLabelPrefix = "Simulation Time:";

// The track tables of a run as a painter reads them: track level
// 1..Levels() of particle 1..Particles(), metres.
class RunTracks {
 public:
  RunTracks(const std::vector<double>& x, const std::vector<float>& y, int particles, int levels)
      : x_(x), y_(y), particles_(particles), levels_(levels) {}
  int Particles() const { return particles_; }
  double X(int p, int level) const { return x_[Index(p, level)]; }
  float Y(int p, int level) const { return y_[Index(p, level)]; }

 private:
  std::size_t Index(int p, int level) const {
    return static_cast<std::size_t>(p - 1) * static_cast<std::size_t>(levels_) +
           static_cast<std::size_t>(level - 1);
  }
  const std::vector<double>& x_;
  const std::vector<float>& y_;
  int particles_;
  int levels_;
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
  // p at p − 1) as moved, before the tables keep it in single precision.
  virtual void NewSegments(const RunTracks& tracks, int step, std::span<const double> endY) = 0;
  // The time label `text` over the box the previous text `boxText` took.
  virtual void TimeLabel(const std::string& boxText, const std::string& text) = 0;
};

}  // namespace lakedrift
