#include <gtest/gtest.h>

#include <cmath>

#include "sim/GaussianRandom.h"

namespace lakedrift {
namespace {

TEST(GaussianRandom, StandardDeviatesHaveMeanZeroVarianceOneWithinSix) {
  GaussianRandom random(12345);
  constexpr int kDraws = 200000;
  double sum = 0, sumSquares = 0;
  float low = 0, high = 0;
  for (int i = 0; i < kDraws; ++i) {
    const float r = random(1.0f, 0.0f);
    sum += r;
    sumSquares += static_cast<double>(r) * r;
    low = std::min(low, r), high = std::max(high, r);
  }
  const double mean = sum / kDraws;
  const double variance = sumSquares / kDraws - mean * mean;
  // Standard error of the mean is 1/√200000 ≈ 0.0022.
  EXPECT_NEAR(mean, 0.0, 0.01);
  EXPECT_NEAR(variance, 1.0, 0.02);
  EXPECT_GE(low, -6.0f);
  EXPECT_LE(high, 6.0f);
  EXPECT_LT(low, -3.5f);  // the tails are reached
  EXPECT_GT(high, 3.5f);
}

TEST(GaussianRandom, ScalesByAAndShiftsByB) {
  GaussianRandom one(99), other(99);
  for (int i = 0; i < 100; ++i) {
    const float standard = one(1.0f, 0.0f);
    EXPECT_NEAR(other(2.0f, 10.0f), standard * 2.0f + 10.0f, 1e-5);
  }
}

TEST(GaussianRandom, UniformsLieInTheHalfOpenUnitInterval) {
  GaussianRandom random(5);
  double sum = 0;
  for (int i = 0; i < 100000; ++i) {
    const float u = random.Uniform();
    ASSERT_GE(u, 0.0f);
    ASSERT_LT(u, 1.0f);
    sum += u;
  }
  EXPECT_NEAR(sum / 100000, 0.5, 0.005);
}

TEST(GaussianRandom, SuccessiveDrawsDifferAndASeedRepeats) {
  GaussianRandom a(7), b(7);
  const float first = a(1, 0), second = a(1, 0);
  EXPECT_NE(first, second);
  EXPECT_EQ(b(1, 0), first);
  EXPECT_EQ(b(1, 0), second);
  EXPECT_EQ(a.Draws(), 2u);
}

}  // namespace
}  // namespace lakedrift
