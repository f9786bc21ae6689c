#include "DepthModel.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <numbers>

namespace lakedrift::datagen {

namespace {

constexpr double kShoreDepthM = 4.0;
// The shelf and the slope: from the shore the depth rises as a smooth step
// (flat shelf, steep slope, flat floor) that reaches the basin floor at this
// distance from the shore. Fitted so that the area-weighted mean depth of
// the whole lake is about 570 m.
constexpr double kSlopeReachKm = 20.5;

// The floor of the rift along the lake's axis, by northing in the
// shoreline's plane (km; 110.6 km per degree of latitude): shallow at both
// ends, the northern (Kigoma) basin about 1310 m deep, the sill near
// Kalemie about 885 m, the southern basin about 1470 m. Between two
// anchors the floor follows a half cosine, so each anchor is an extreme.
struct FloorAnchor {
  double northingKm;
  double depthM;
};
constexpr FloorAnchor kFloor[] = {
    {-973.6, 150.0},   // southern end, 8.8 S
    {-850.0, 1470.0},  // southern basin, 7.7 S
    {-656.0, 885.0},   // sill off Kalemie, 5.9 S
    {-535.0, 1310.0},  // northern basin, 4.8 S
    {-369.0, 100.0},   // northern end off the Rusizi delta, 3.3 S
};

double Smoothstep(double t) {
  t = std::clamp(t, 0.0, 1.0);
  return t * t * (3.0 - 2.0 * t);
}

}  // namespace

DepthModel::DepthModel(const std::vector<CoastRing>& rings) {
  for (const CoastRing& ring : rings) {
    const std::size_t n = ring.points.size();
    for (std::size_t i = 0; i < n; ++i) {
      if (!ring.cutAfter[i]) shore_.push_back({ring.points[i], ring.points[(i + 1) % n]});
    }
  }
}

Vec2 DepthModel::NearestShorePoint(Vec2 p) const {
  double best = std::numeric_limits<double>::infinity();
  Vec2 nearest = p;
  for (const Segment& s : shore_) {
    const Vec2 ab = s.b - s.a;
    const double len2 = Dot(ab, ab);
    const double t = len2 > 0.0 ? std::clamp(Dot(p - s.a, ab) / len2, 0.0, 1.0) : 0.0;
    const Vec2 q = s.a + t * ab;
    const Vec2 d = p - q;
    const double dist2 = Dot(d, d);
    if (dist2 < best) {
      best = dist2;
      nearest = q;
    }
  }
  return nearest;
}

double DepthModel::DistanceToShoreKm(Vec2 p) const { return Length(p - NearestShorePoint(p)); }

Vec2 DepthModel::TowardShore(Vec2 p) const {
  const Vec2 d = NearestShorePoint(p) - p;
  const double len = Length(d);
  return len > 0.0 ? (1.0 / len) * d : Vec2{};
}

double DepthModel::FloorDepth(double northingKm) {
  const std::size_t count = std::size(kFloor);
  if (northingKm <= kFloor[0].northingKm) return kFloor[0].depthM;
  for (std::size_t i = 1; i < count; ++i) {
    if (northingKm > kFloor[i].northingKm) continue;
    const FloorAnchor a = kFloor[i - 1], b = kFloor[i];
    const double t = (northingKm - a.northingKm) / (b.northingKm - a.northingKm);
    const double w = 0.5 - 0.5 * std::cos(std::numbers::pi * t);
    return a.depthM + w * (b.depthM - a.depthM);
  }
  return kFloor[count - 1].depthM;
}

double DepthModel::DepthAt(Vec2 p, double distanceKm) {
  return kShoreDepthM + (FloorDepth(p.y) - kShoreDepthM) * Smoothstep(distanceKm / kSlopeReachKm);
}

}  // namespace lakedrift::datagen
