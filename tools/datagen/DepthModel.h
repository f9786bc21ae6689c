#pragma once
#include <vector>

#include "CoastRing.h"

namespace lakedrift::datagen {

// A smooth synthetic lake bed: a few metres deep at the shore, dropping to
// the deep basin within a few km, as the steep rift walls of the lake do.
// Only real shore counts; cut lines across open water are not shallow.
class DepthModel {
 public:
  // Collects the shore edges of the rings (cut edges left out).
  explicit DepthModel(const std::vector<CoastRing>& rings);

  // Distance to the nearest shore edge, km.
  double DistanceToShoreKm(Vec2 p) const;
  // Unit vector from p toward the nearest shore point (zero on the shore).
  Vec2 TowardShore(Vec2 p) const;
  // Water depth at a distance from the shore, m.
  static double DepthAtDistance(double distanceKm);
  // Water depth at p, m.
  double DepthMetres(Vec2 p) const { return DepthAtDistance(DistanceToShoreKm(p)); }

 private:
  Vec2 NearestShorePoint(Vec2 p) const;

  struct Segment {
    Vec2 a, b;
  };
  std::vector<Segment> shore_;
};

}  // namespace lakedrift::datagen
