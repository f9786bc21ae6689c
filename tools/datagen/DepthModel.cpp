#include "DepthModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lakedrift::datagen {

namespace {

constexpr double kShoreDepthM = 4.0;
constexpr double kBasinDepthM = 600.0;  // a typical depth of the basin floor
// e-folding distance of the slope: 2.5 km puts 420 m at 3 km from shore.
constexpr double kSlopeWidthKm = 2.5;

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

double DepthModel::DepthAtDistance(double distanceKm) {
  return kShoreDepthM +
         (kBasinDepthM - kShoreDepthM) * (1.0 - std::exp(-std::max(distanceKm, 0.0) / kSlopeWidthKm));
}

}  // namespace lakedrift::datagen
