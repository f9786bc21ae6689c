#include "ui/StartupColour.h"

#include <algorithm>

#include "model/NumberFormat.h"
#include "sim/GaussianRandom.h"

namespace lakedrift {

namespace {

constexpr double kLevels = 256.0;
constexpr double kTopLevel = 255.0;

uint8_t Component(float r) { return static_cast<uint8_t>(std::min(RoundHalfEven(r * kLevels), kTopLevel)); }

}  // namespace

Rgb StartupColour(float r1, float r2, float r3) { return {Component(r1), Component(r2), Component(r3)}; }

Rgb RandomStartupColour(uint64_t seed) {
  GaussianRandom random(seed);
  const float r1 = random.Uniform();
  const float r2 = random.Uniform();
  const float r3 = random.Uniform();
  return StartupColour(r1, r2, r3);
}

}  // namespace lakedrift
