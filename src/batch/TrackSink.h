#pragma once
#include <span>
#include <vector>

#include "model/Status.h"

namespace lakedrift {

// Something that takes the particles' positions one track level at a time:
// level 1 is the release, level k + 1 the positions after step k.
class TrackSink {
 public:
  virtual ~TrackSink() = default;
  // Takes the positions (m) of every particle at a level, `hours` after the
  // scenario's start.
  virtual Status WriteLevel(int level, double hours, std::span<const double> x, std::span<const float> y) = 0;
  // Completes the output; nothing is visible under the final name before.
  virtual Status Finish() = 0;
};

}  // namespace lakedrift
