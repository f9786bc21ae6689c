#pragma once
#include <vector>

#include "Vec2.h"

namespace lakedrift::datagen {

// One closed ring of a region's coast, in km. The edge from point i to
// point i + 1 (the last one back to the first) is either real shore or a
// straight cut across open water where a region was cut out of the lake;
// the depth and the wind drift care about the difference, the mesh does not.
struct CoastRing {
  std::vector<Vec2> points;
  std::vector<bool> cutAfter;  // cutAfter[i]: edge i → i+1 is a cut line

  // Signed area in km²: positive for a counter-clockwise ring.
  double SignedArea() const {
    double twice = 0.0;
    for (std::size_t i = 0, n = points.size(); i < n; ++i) {
      twice += Cross(points[i], points[(i + 1) % n]);
    }
    return 0.5 * twice;
  }
};

}  // namespace lakedrift::datagen
