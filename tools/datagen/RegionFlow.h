#pragma once
#include <array>
#include <vector>

#include "DepthModel.h"
#include "LakeMesh.h"
#include "StreamFunctionSolver.h"
#include "WindScenario.h"

namespace lakedrift::datagen {

// The stress that drives the depth-averaged flow of one frame: the stress
// of the mid-lake wind and the breeze's, N/m², as the lake has felt them
// (see FrictionalLag).
struct Forcing {
  Vec2 stress;
  double breezeStress = 0.0;

  // The stress of a wind, felt at once.
  static Forcing Of(const WindState& wind);
};

// The current field of one region for any wind, computed in the shoreline's
// plane (the whole lake's frame). The depth-averaged circulation is linear
// in the stress, so three solutions (unit east and north stress of the
// mid-lake wind, unit breeze stress) combine into every frame. The surface
// current adds the wind drift and the river plumes to it.
class RegionFlow {
 public:
  // How a flow takes its values from an enclosing flow: solved inside with
  // the enclosing stream function on the cut lines (a region cut from the
  // lake), or the enclosing flow and depth taken at every node (the same
  // lake on a mesh too coarse to resolve its shore slopes).
  enum class Nesting { CutLines, Resampled };

  // Solves the three basic circulations on the mesh, alone (enclosing is
  // nullptr) or nested in the flow of the whole lake, so that the two agree
  // where they overlap.
  RegionFlow(const LakeMesh& mesh, const DepthModel& depth, const RegionFlow* enclosing,
             Nesting nesting = Nesting::CutLines);

  // Depth-averaged current at each node, m/s.
  std::vector<Vec2> DepthAveraged(const Forcing& forcing) const;
  // Surface current at each node: the depth-averaged current plus the drift
  // of the wind blowing now and the river plumes, m/s.
  std::vector<Vec2> Surface(const WindState& wind, const Forcing& forcing) const;

  // Water depth at each node as the flow sees it (the mean depth of the
  // elements round the node), m: depth-averaged current × this depth is
  // the depth-integrated transport.
  const std::vector<double>& NodeDepth() const { return depth_; }
  // Distance of each node from the real shore (cut lines do not count), km.
  const std::vector<double>& NodeShoreDistance() const { return shoreDistance_; }

 private:
  static constexpr int kPatterns = 3;  // east, north, breeze

  // The wind vector at a node.
  Vec2 WindAt(std::size_t node, const WindState& wind) const;
  // The stream function of a basic circulation on the cut lines (nodes
  // marked open), taken from the enclosing lake's flow, m³/s per node.
  std::vector<double> NestedValues(const RegionFlow& enclosing, int pattern,
                                   const std::vector<bool>& open) const;
  // Where a point lies in the mesh: the nodes of its element and their
  // linear weights.
  struct Stencil {
    std::array<int, 3> nodes{};
    std::array<double, 3> weights{};
  };
  Stencil Locate(Vec2 p) const;
  template <class T>
  static T Interpolated(const std::vector<T>& field, const Stencil& at) {
    return at.weights[0] * field[at.nodes[0]] + at.weights[1] * field[at.nodes[1]] +
           at.weights[2] * field[at.nodes[2]];
  }
  // Replaces the depth and the basic circulations at every node by the
  // enclosing flow's there, turned along the coast on the coast.
  void Resample(const RegionFlow& enclosing, const StreamFunctionSolver& solver);
  // The stream function of a basic circulation at a point, m³/s.
  double StreamFunctionAt(int pattern, Vec2 p) const;
  // The river plumes' surface current at a node, m/s.
  Vec2 PlumeAt(std::size_t node) const;

  LakeMesh mesh_;                                       // shoreline's plane, km
  std::vector<double> depth_;                           // m
  std::vector<double> shoreDistance_;                   // km
  std::vector<Vec2> breezeDirection_;                   // unit pattern of the breeze at nodes
  std::vector<double> windShare_;                       // share of the mid-lake wind at nodes
  std::vector<Vec2> towardShore_;                       // unit vector toward the nearest shore
  std::array<std::vector<double>, kPatterns> psi_;      // per unit stress
  std::array<std::vector<Vec2>, kPatterns> transport_;  // per unit stress
  struct Mouth {
    Vec2 at;              // km
    double dischargeM3s;  // m³/s
  };
  std::vector<Mouth> mouths_;  // the rivers that reach this region's shore
};

}  // namespace lakedrift::datagen
