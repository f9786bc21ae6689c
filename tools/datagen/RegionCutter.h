#pragma once
#include <vector>

#include "CoastRing.h"
#include "LakeRegion.h"

namespace lakedrift::datagen {

// Carves a region out of the lake: the shore ring is clipped by each cut
// line, which closes the region along the line; islands are kept whole or
// dropped.
class RegionCutter {
 public:
  // The region's rings, shore first. Throws std::runtime_error when a cut
  // line crosses the shore more than twice (the clipped shore would fall
  // apart into several rings) or runs through an island.
  static std::vector<CoastRing> Cut(const std::vector<CoastRing>& lake, const std::vector<HalfPlane>& cuts);
};

}  // namespace lakedrift::datagen
