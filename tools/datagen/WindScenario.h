#pragma once
#include "WindState.h"

namespace lakedrift::datagen {

// The wind of one scenario week, frame by frame: frame k is 2·k hours after
// 02:00 on the first day. Deterministic: a sum of fixed diurnal and
// multi-day cycles, so that every generation gives the same files.
class WindScenario {
 public:
  enum class Season { Wet, Dry };

  explicit WindScenario(Season season) : season_(season) {}

  // The wind at frame k (0-based).
  WindState At(int frame) const;

  // The share of the mid-lake wind that blows at a distance from the shore
  // (the wind speeds up over the water), 0..1.
  static double OverWaterShare(double distanceKm);

  // Wind stress of a wind vector, N/m², by the quadratic drag law.
  static Vec2 Stress(Vec2 wind);
  // Wind stress of a breeze strength, N/m², along the breeze's direction.
  static double Stress(double breeze);

  static constexpr int kFrameCount = 84;  // a week of two-hourly frames
  static constexpr double kHoursPerFrame = 2.0;
  static constexpr double kFirstFrameHour = 2.0;

 private:
  Season season_;
};

}  // namespace lakedrift::datagen
