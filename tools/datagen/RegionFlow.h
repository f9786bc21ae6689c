#pragma once
#include <vector>

#include "DepthModel.h"
#include "LakeMesh.h"
#include "StreamFunctionSolver.h"
#include "WindScenario.h"

namespace lakedrift::datagen {

// The current field of one region for any wind: the circulation is linear
// in the stress, so three solutions (unit east stress, unit north stress,
// unit breeze stress) combine into every frame.
class RegionFlow {
 public:
  // Solves the three basic circulations on the mesh.
  RegionFlow(const LakeMesh& mesh, const DepthModel& depth);

  // Depth-averaged current at each node, m/s.
  std::vector<Vec2> DepthAveraged(const WindState& wind) const;
  // Surface current at each node: depth-averaged plus the wind drift, m/s.
  std::vector<Vec2> Surface(const WindState& wind) const;

  // Water depth at each node as the flow sees it (the mean depth of the
  // elements round the node), m: depth-averaged current × this depth is
  // the depth-integrated transport.
  const std::vector<double>& NodeDepth() const { return depth_; }
  // Distance of each node from the real shore (cut lines do not count), km.
  const std::vector<double>& NodeShoreDistance() const { return shoreDistance_; }

 private:
  // The wind vector at a node.
  Vec2 WindAt(std::size_t node, const WindState& wind) const;

  std::vector<double> depth_;          // m
  std::vector<double> shoreDistance_;  // km
  std::vector<Vec2> breezeDirection_;  // unit pattern of the breeze at nodes
  std::vector<Vec2> transportEast_, transportNorth_, transportBreeze_;  // per unit stress
};

}  // namespace lakedrift::datagen
