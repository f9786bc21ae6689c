#pragma once
#include "Vec2.h"

namespace lakedrift::datagen {

// The wind over the lake at one frame: a wind uniform over the region plus
// the strength of a land–lake breeze that blows toward the nearest shore by
// day (positive) and away from it by night (negative), m/s.
struct WindState {
  Vec2 uniform;
  double breeze = 0.0;
};

}  // namespace lakedrift::datagen
