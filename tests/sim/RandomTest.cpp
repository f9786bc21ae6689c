#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>

#include "sim/CounterRandom.h"
#include "sim/GaussianRandom.h"

namespace lakedrift {
namespace {

constexpr uint64_t kSeed = 0x0123456789ABCDEFull;

TEST(CounterRandom, PhiloxMatchesThePublishedKnownAnswers) {
  using B = CounterRandom::Block;
  using K = CounterRandom::Key;
  // clang-format off
  const std::tuple<B, K, B> rows[] = {
      {{0, 0, 0, 0}, {0, 0}, {0x16554d9eca36314cull, 0xdb20fe9d672d0fdcull, 0xd7e772cee186176bull, 0x7e68b68aec7ba23bull}},
      {{~0ull, ~0ull, ~0ull, ~0ull}, {~0ull, ~0ull}, {0x87b092c3013fe90bull, 0x438c3c67be8d0224ull, 0x9cc7d7c69cd777b6ull, 0xa09caebf594f0ba0ull}},
      {{0x243f6a8885a308d3ull, 0x13198a2e03707344ull, 0xa4093822299f31d0ull, 0x082efa98ec4e6c89ull}, {0x452821e638d01377ull, 0xbe5466cf34e90c6cull},
       {0xa528f45403e61d95ull, 0x38c72dbd566e9788ull, 0xa5a1610e72fd18b5ull, 0x57bd43b5e52b7fe6ull}}};
  // clang-format on
  for (const auto& [counter, key, expected] : rows) EXPECT_EQ(CounterRandom::Philox(counter, key), expected);
}

// Faults: a and b swapped or misapplied, a biased or too narrow sum,
// deviates beyond b ± 6a, neighbouring draws correlated.
// Expects `draw(a, b)` to give normal-like deviates with standard deviation
// a and mean b, draws k and k + 1 being neighbours as a run uses them.
void ExpectNormalLike(const char* generator, std::function<float(float, float)> draw, long draws) {
  SCOPED_TRACE(generator);
  constexpr float kA = 2.0f, kB = 10.0f;
  double sum = 0, sumSquares = 0, cross = 0, previous = 0, low = 0, high = 0;
  for (long i = 0; i < draws; ++i) {
    const double r = (draw(kA, kB) - kB) / kA;  // standardised
    sum += r, sumSquares += r * r, cross += r * previous;
    previous = r;
    low = std::min(low, r), high = std::max(high, r);
  }
  // Standard errors: mean and lag-one product 1/√n, variance about √(2/n); five of each.
  const auto n = static_cast<double>(draws);
  const double five = 5 / std::sqrt(n);
  EXPECT_NEAR(sum / n, 0.0, five);
  EXPECT_NEAR(sumSquares / n, 1.0, five * std::sqrt(2.0));
  EXPECT_NEAR(cross / n, 0.0, five);
  EXPECT_TRUE(low >= -6.0 && high <= 6.0) << low << ", " << high;
  EXPECT_TRUE(low < -3.5 && high > 3.5) << "the tails not reached: " << low << ", " << high;
}

TEST(RandomStatistics, DeviatesAreNormalLikeWithMeanBAndDeviationA) {
  constexpr long kDraws = 200000, kStreams = kDraws / 4;
  ExpectNormalLike("the desktop run's one sequence", GaussianRandom(12345), kDraws);
  // The parallel run's stream per particle, four deviates each: neighbours
  // are the same deviate of neighbouring streams.
  ExpectNormalLike(
      "the parallel run's streams",
      [k = 0L](float a, float b) mutable {
        CounterRandom random(kSeed, static_cast<uint64_t>(k % kStreams + 1));
        random.Seek(static_cast<uint64_t>(k++ / kStreams));
        return random(a, b);
      },
      kDraws);
}

}  // namespace
}  // namespace lakedrift
