#pragma once
#include "Vec2.h"

namespace lakedrift::datagen {

// The wind over the lake at one frame: the mid-lake wind (weaker toward the
// shore, see WindScenario::OverWaterShare) plus
// the strength of a land–lake breeze that blows toward the nearest shore by
// day (positive) and away from it by night (negative), m/s.
struct WindState {
  Vec2 midLake;
  double breeze = 0.0;
};

}  // namespace lakedrift::datagen
