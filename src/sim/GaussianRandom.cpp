#include "sim/GaussianRandom.h"

#include <chrono>

namespace lakedrift {
namespace {
constexpr int kUniformsPerDeviate = 12;  // their sum has mean 6 and variance 1
constexpr float kSumMean = 6.0f;
constexpr int kMantissaBits = 24;  // a float holds 24 bits exactly
constexpr float kTwoToMinus24 = 1.0f / 16777216.0f;
}  // namespace

float GaussianRandom::Uniform() {
  // The top 24 bits of a 64-bit draw, scaled: exactly representable, never 1.
  return static_cast<float>(engine_() >> (64 - kMantissaBits)) * kTwoToMinus24;
}

float GaussianRandom::operator()(float a, float b) {
  float sum = 0.0f;
  for (int i = 0; i < kUniformsPerDeviate; ++i) sum += Uniform();
  ++draws_;
  return (sum - kSumMean) * a + b;
}

uint64_t ClockSeed() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch();
  // Mixed so that two starts within one tick of either clock still differ.
  return static_cast<uint64_t>(now.count()) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(ticks.count());
}

}  // namespace lakedrift
