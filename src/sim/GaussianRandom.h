#pragma once
#include <cstdint>
#include <random>

namespace lakedrift {

// Normal deviates as a sum of twelve uniform numbers: mean b, standard
// deviation a, bounded to b ± 6a. One generator seeded once and drawn on,
// so that successive draws are independent however fast they come.
class GaussianRandom {
 public:
  explicit GaussianRandom(uint64_t seed) : engine_(seed) {}
  // A deviate with standard deviation a and mean b, in single precision.
  float operator()(float a, float b);
  // A uniform number in [0, 1), single precision.
  float Uniform();
  // Normal deviates drawn so far.
  uint64_t Draws() const { return draws_; }

 private:
  std::mt19937_64 engine_;
  uint64_t draws_ = 0;
};

// A seed taken from the clock, for runs that are not asked to repeat.
uint64_t ClockSeed();

}  // namespace lakedrift
