#include "RegionFlow.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lakedrift::datagen {

namespace {

// The breeze is a coastal wind: it fades with this e-folding distance from
// the shore, so in mid-lake the breezes of opposite shores do not collide.
constexpr double kBreezeReachKm = 6.0;
// Surface drift: a fraction of the wind speed, turned to the left of the
// wind (southern hemisphere), fading to nothing in the last km to the shore.
constexpr double kDriftFactor = 0.02;
constexpr double kDriftTurnDeg = 12.0;
constexpr double kDriftFadeKm = 1.0;

// 0 at the shore rising smoothly to 1 at the fade distance.
double DriftFade(double distanceKm) {
  const double t = std::clamp(distanceKm / kDriftFadeKm, 0.0, 1.0);
  return t * t * (3.0 - 2.0 * t);
}

}  // namespace

RegionFlow::RegionFlow(const LakeMesh& mesh, const DepthModel& depth) {
  for (const Vec2 p : mesh.nodes) {
    const double d = depth.DistanceToShoreKm(p);
    shoreDistance_.push_back(d);
    depth_.push_back(DepthModel::DepthAtDistance(d));
    breezeDirection_.push_back(std::exp(-d / kBreezeReachKm) * depth.TowardShore(p));
  }

  std::vector<Vec2> east, north, breeze;
  for (const auto& v : mesh.elements) {
    const Vec2 centre = (1.0 / 3.0) * (mesh.nodes[v[0]] + mesh.nodes[v[1]] + mesh.nodes[v[2]]);
    east.push_back({1.0, 0.0});
    north.push_back({0.0, 1.0});
    const double d = depth.DistanceToShoreKm(centre);
    breeze.push_back(std::exp(-d / kBreezeReachKm) * depth.TowardShore(centre));
  }
  const StreamFunctionSolver solver(mesh, depth_);
  depth_ = solver.NodeDepth();
  transportEast_ = solver.NodeTransport(east);
  transportNorth_ = solver.NodeTransport(north);
  transportBreeze_ = solver.NodeTransport(breeze);
}

std::vector<Vec2> RegionFlow::DepthAveraged(const WindState& wind) const {
  const Vec2 stress = WindScenario::Stress(wind.uniform);
  const double breezeStress = WindScenario::Stress(wind.breeze);
  std::vector<Vec2> velocity(depth_.size());
  for (std::size_t n = 0; n < velocity.size(); ++n) {
    const Vec2 transport = stress.x * transportEast_[n] + stress.y * transportNorth_[n] +
                           breezeStress * transportBreeze_[n];
    velocity[n] = (1.0 / depth_[n]) * transport;
  }
  return velocity;
}

Vec2 RegionFlow::WindAt(std::size_t node, const WindState& wind) const {
  return wind.uniform + wind.breeze * breezeDirection_[node];
}

std::vector<Vec2> RegionFlow::Surface(const WindState& wind) const {
  std::vector<Vec2> velocity = DepthAveraged(wind);
  const double turn = kDriftTurnDeg * std::numbers::pi / 180.0;
  for (std::size_t n = 0; n < velocity.size(); ++n) {
    const Vec2 drift = (kDriftFactor * DriftFade(shoreDistance_[n])) * Rotated(WindAt(n, wind), turn);
    velocity[n] = velocity[n] + drift;
  }
  return velocity;
}

}  // namespace lakedrift::datagen
