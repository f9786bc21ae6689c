#pragma once
#include "Vec2.h"

namespace lakedrift::datagen {

// The side of a straight cut line that a region keeps: the points p with
// Dot(normal, p) <= offset.
struct HalfPlane {
  Vec2 normal;
  double offset = 0.0;
};

}  // namespace lakedrift::datagen
