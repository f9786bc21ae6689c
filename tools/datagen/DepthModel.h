#pragma once
#include <vector>

#include "CoastRing.h"

namespace lakedrift::datagen {

// A smooth synthetic lake bed in the shoreline's plane (the whole lake's
// frame, whatever region is cut from it): a few metres deep at the shore, a
// shelf, a steep slope and the floor of the rift, which along the lake's
// axis holds two basins split by a sill. Only real shore counts; cut lines
// across open water are not shallow.
class DepthModel {
 public:
  // Collects the shore edges of the rings (cut edges left out).
  explicit DepthModel(const std::vector<CoastRing>& rings);

  // Distance to the nearest shore edge, km.
  double DistanceToShoreKm(Vec2 p) const;
  // Unit vector from p toward the nearest shore point (zero on the shore).
  Vec2 TowardShore(Vec2 p) const;
  // Depth of the rift floor at a northing of the shoreline's plane, m.
  static double FloorDepth(double northingKm);
  // Water depth at p, m, given its distance from the shore.
  static double DepthAt(Vec2 p, double distanceKm);
  // Water depth at p, m.
  double DepthMetres(Vec2 p) const { return DepthAt(p, DistanceToShoreKm(p)); }

  // The shore point nearest to p.
  Vec2 NearestShorePoint(Vec2 p) const;

 private:
  struct Segment {
    Vec2 a, b;
  };
  std::vector<Segment> shore_;
};

}  // namespace lakedrift::datagen
