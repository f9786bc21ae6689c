#include "RegionFlow.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "StreamFunctionSolver.h"

namespace lakedrift::datagen {

namespace {

// The breeze is a coastal wind: it fades with this e-folding distance from
// the shore, so in mid-lake the breezes of opposite shores do not collide.
constexpr double kBreezeReachKm = 6.0;
// Surface drift: a fraction of the wind speed, turned to the left of the
// wind (southern hemisphere). The shore stops only its onshore part, which
// fades to nothing in the last km; the part along the shore and the part
// away from it (coastal divergence, upwelling) stay.
constexpr double kDriftFactor = 0.02;
constexpr double kDriftTurnDeg = 12.0;
constexpr double kDriftFadeKm = 1.0;
// A node closer to the real shore than this lies on it, km.
constexpr double kOnShoreKm = 1e-6;

// The Coriolis parameter 2Ω sin φ at the lake's middle latitude, 6° S, 1/s.
constexpr double kEarthRotation = 7.2921e-5;  // rad/s
constexpr double kLakeLatitudeDeg = -6.0;
const double kCoriolis = 2.0 * kEarthRotation * std::sin(kLakeLatitudeDeg * std::numbers::pi / 180.0);

// The rivers as sources at their mouths, in the shoreline's plane (km):
// the Malagarasi at 5°15′ S 29°48′ E, about 220 m³/s, and the Rusizi at
// 3°22′ S 29°16′ E, about 100 m³/s. A region has a river when its shore
// passes within kMouthReachKm of the mouth.
struct River {
  Vec2 mouth;
  double dischargeM3s;
};
constexpr River kRivers[] = {{{-21.98, -581.24}, 220.0}, {{-81.50, -372.30}, 100.0}};
constexpr double kMouthReachKm = 5.0;
// The plume: a layer this thick spreading from the mouth; inside the core
// radius the outflow speed no longer grows.
constexpr double kPlumeThicknessM = 2.0;
constexpr double kPlumeCoreKm = 0.5;
constexpr double kMetresPerKm = 1000.0;

// Within this distance of the shore a cut line does not take the enclosing
// lake's stream function node by node: the whole lake's coarser mesh lumps
// the near-shore transport onto too narrow a band, which would squeeze it
// into the shallows; the transport is shared out by depth instead, km.
constexpr double kNestTaperKm = 6.0;

// 0 at the shore rising smoothly to 1 at the fade distance.
double DriftFade(double distanceKm) {
  const double t = std::clamp(distanceKm / kDriftFadeKm, 0.0, 1.0);
  return t * t * (3.0 - 2.0 * t);
}

// Unit vector from each node toward the nearest real shore: on the shore
// itself the outward normal of the coast (water lies left of each ring).
std::vector<Vec2> TowardShore(const LakeMesh& mesh, const DepthModel& depth,
                              const std::vector<double>& shoreDistance) {
  std::vector<Vec2> toward(mesh.nodes.size());
  for (std::size_t n = 0; n < toward.size(); ++n) toward[n] = depth.TowardShore(mesh.nodes[n]);
  for (const auto& ring : mesh.rings) {
    const std::size_t size = ring.size();
    for (std::size_t i = 0; i < size; ++i) {
      if (shoreDistance[ring[i]] > kOnShoreKm) continue;
      const Vec2 p = mesh.nodes[ring[i]];
      const Vec2 in = p - mesh.nodes[ring[(i + size - 1) % size]];
      const Vec2 out = mesh.nodes[ring[(i + 1) % size]] - p;
      const Vec2 tangent = (1.0 / Length(in)) * in + (1.0 / Length(out)) * out;
      const double length = Length(tangent);
      if (length > 0.0) toward[ring[i]] = (1.0 / length) * Vec2{tangent.y, -tangent.x};
    }
  }
  return toward;
}

}  // namespace

Forcing Forcing::Of(const WindState& wind) {
  return {WindScenario::Stress(wind.midLake), WindScenario::Stress(wind.breeze)};
}

RegionFlow::RegionFlow(const LakeMesh& mesh, const DepthModel& depth, const RegionFlow* enclosing,
                       Nesting nesting)
    : mesh_(mesh) {
  for (const Vec2 p : mesh.nodes) {
    const double d = depth.DistanceToShoreKm(p);
    shoreDistance_.push_back(d);
    depth_.push_back(DepthModel::DepthAt(p, d));
    breezeDirection_.push_back(std::exp(-d / kBreezeReachKm) * depth.TowardShore(p));
    windShare_.push_back(WindScenario::OverWaterShare(d));
  }
  towardShore_ = TowardShore(mesh, depth, shoreDistance_);

  // The stress of the mid-lake wind goes with the square of its share.
  std::array<std::vector<Vec2>, kPatterns> stress;
  for (const auto& v : mesh.elements) {
    const Vec2 centre = (1.0 / 3.0) * (mesh.nodes[v[0]] + mesh.nodes[v[1]] + mesh.nodes[v[2]]);
    const double d = depth.DistanceToShoreKm(centre);
    const double share = WindScenario::OverWaterShare(d);
    stress[0].push_back({share * share, 0.0});
    stress[1].push_back({0.0, share * share});
    stress[2].push_back(std::exp(-d / kBreezeReachKm) * depth.TowardShore(centre));
  }
  std::vector<bool> open(mesh.nodes.size(), false);
  for (const int n : mesh.rings.front()) open[n] = shoreDistance_[n] > kOnShoreKm;
  const StreamFunctionSolver solver(mesh, depth_, open, kCoriolis);
  depth_ = solver.NodeDepth();
  for (int k = 0; k < kPatterns; ++k) {
    std::vector<double> shoreValues(mesh.nodes.size(), 0.0);
    if (enclosing != nullptr) shoreValues = NestedValues(*enclosing, k, open);
    psi_[k] = solver.StreamFunction(stress[k], shoreValues);
    transport_[k] = solver.NodeTransport(psi_[k]);
  }
  if (enclosing != nullptr && nesting == Nesting::Resampled) Resample(*enclosing, solver);
  for (const River& river : kRivers) {
    const Vec2 mouth = depth.NearestShorePoint(river.mouth);
    if (Length(mouth - river.mouth) < kMouthReachKm) mouths_.push_back({mouth, river.dischargeM3s});
  }
}

std::vector<double> RegionFlow::NestedValues(const RegionFlow& enclosing, int pattern,
                                             const std::vector<bool>& open) const {
  // Walk each cut line from the shore at either end: within the taper
  // distance the transport of the enclosing lake up to the first node
  // beyond it is shared out along the line in proportion to the depth.
  const std::vector<int>& ring = mesh_.rings.front();
  const std::size_t size = ring.size();
  std::vector<double> values(mesh_.nodes.size(), 0.0);
  for (std::size_t n = 0; n < values.size(); ++n) {
    if (open[n]) values[n] = enclosing.StreamFunctionAt(pattern, mesh_.nodes[n]);
  }
  for (std::size_t i = 0; i < size; ++i) {
    if (open[ring[i]] || !open[ring[(i + 1) % size]]) continue;
    for (const int direction : {1, -1}) {
      // i is the shore node before a cut line; walk it from this end, and
      // for the other end start from the shore node after the line.
      std::size_t at = i;
      if (direction < 0) {
        while (open[ring[(at + 1) % size]]) at = (at + 1) % size;
        at = (at + 1) % size;
      }
      std::vector<int> walked;
      std::vector<double> weight{0.0};
      std::size_t next = (at + size + direction) % size;
      while (open[ring[next]]) {
        const int previous = walked.empty() ? ring[at] : walked.back();
        walked.push_back(ring[next]);
        weight.push_back(weight.back() + 0.5 * (depth_[previous] + depth_[ring[next]]) *
                                             Length(mesh_.nodes[ring[next]] - mesh_.nodes[previous]));
        if (shoreDistance_[ring[next]] > kNestTaperKm) break;
        next = (next + size + direction) % size;
      }
      if (walked.empty() || shoreDistance_[walked.back()] <= kNestTaperKm) continue;
      const double anchor = values[walked.back()];
      for (std::size_t w = 0; w + 1 < walked.size(); ++w) {
        values[walked[w]] = anchor * weight[w + 1] / weight.back();
      }
    }
  }
  return values;
}

void RegionFlow::Resample(const RegionFlow& enclosing, const StreamFunctionSolver& solver) {
  for (std::size_t n = 0; n < mesh_.nodes.size(); ++n) {
    const Stencil at = enclosing.Locate(mesh_.nodes[n]);
    depth_[n] = Interpolated(enclosing.depth_, at);
    for (int k = 0; k < kPatterns; ++k) {
      psi_[k][n] = Interpolated(enclosing.psi_[k], at);
      transport_[k][n] = Interpolated(enclosing.transport_[k], at);
    }
  }
  for (auto& transport : transport_) solver.TurnAlongCoast(transport);
}

RegionFlow::Stencil RegionFlow::Locate(Vec2 p) const {
  // The element that holds p, or failing that (p just off a coarser coast)
  // the one it lies least outside of, with its weights clamped into it.
  double bestLeast = -std::numeric_limits<double>::infinity();
  Stencil stencil;
  for (const auto& v : mesh_.elements) {
    const Vec2 a = mesh_.nodes[v[0]], b = mesh_.nodes[v[1]], c = mesh_.nodes[v[2]];
    const double area = Cross(b - a, c - a);
    double w[3] = {Cross(b - p, c - p) / area, Cross(c - p, a - p) / area, 0.0};
    w[2] = 1.0 - w[0] - w[1];
    const double least = std::min({w[0], w[1], w[2]});
    if (least <= bestLeast) continue;
    bestLeast = least;
    double total = 0.0;
    for (int j = 0; j < 3; ++j) total += std::max(w[j], 0.0);
    for (int j = 0; j < 3; ++j) stencil.weights[j] = std::max(w[j], 0.0) / total;
    stencil.nodes = v;
    if (least >= 0.0) break;
  }
  return stencil;
}

double RegionFlow::StreamFunctionAt(int pattern, Vec2 p) const {
  return Interpolated(psi_[pattern], Locate(p));
}

std::vector<Vec2> RegionFlow::DepthAveraged(const Forcing& forcing) const {
  std::vector<Vec2> velocity(depth_.size());
  for (std::size_t n = 0; n < velocity.size(); ++n) {
    const Vec2 transport = forcing.stress.x * transport_[0][n] + forcing.stress.y * transport_[1][n] +
                           forcing.breezeStress * transport_[2][n];
    velocity[n] = (1.0 / depth_[n]) * transport;
  }
  return velocity;
}

Vec2 RegionFlow::WindAt(std::size_t node, const WindState& wind) const {
  return windShare_[node] * wind.midLake + wind.breeze * breezeDirection_[node];
}

Vec2 RegionFlow::PlumeAt(std::size_t node) const {
  // A river spreads over a half disc from its mouth in a layer a few metres
  // thick: the outflow speed falls as the half circle through the node grows.
  Vec2 sum;
  for (const Mouth& mouth : mouths_) {
    const Vec2 away = mesh_.nodes[node] - mouth.at;
    const double r = std::max(Length(away), kPlumeCoreKm);
    const double speed = mouth.dischargeM3s / (std::numbers::pi * r * kMetresPerKm * kPlumeThicknessM);
    if (Length(away) > 0.0) sum = sum + (speed / Length(away)) * away;
  }
  return sum;
}

std::vector<Vec2> RegionFlow::Surface(const WindState& wind, const Forcing& forcing) const {
  std::vector<Vec2> velocity = DepthAveraged(forcing);
  const double turn = kDriftTurnDeg * std::numbers::pi / 180.0;
  for (std::size_t n = 0; n < velocity.size(); ++n) {
    Vec2 drift = kDriftFactor * Rotated(WindAt(n, wind), turn) + PlumeAt(n);
    const double onshore = Dot(drift, towardShore_[n]);
    if (onshore > 0.0) drift = drift - ((1.0 - DriftFade(shoreDistance_[n])) * onshore) * towardShore_[n];
    velocity[n] = velocity[n] + drift;
  }
  return velocity;
}

}  // namespace lakedrift::datagen
