#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <span>
#include <tuple>
#include <vector>

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
      {{0, 0, 0, 0}, {0, 0}, {0x6627e8d5, 0xe169c58d, 0xbc57ac4c, 0x9b00dbd8}},
      {{~0u, ~0u, ~0u, ~0u}, {~0u, ~0u}, {0x408f276d, 0x41c83b0e, 0xa20bc7c6, 0x6d5451fd}},
      {{0x243f6a88, 0x85a308d3, 0x13198a2e, 0x03707344}, {0xa4093822, 0x299f31d0}, {0xd16cfe09, 0x94fdcceb, 0x5001e420, 0x24126ea1}}};
  // clang-format on
  for (const auto& [counter, key, expected] : rows) EXPECT_EQ(CounterRandom::Philox(counter, key), expected);
}

// Faults: a lane given the wrong stream (also where the stream's low word
// wraps), the tail after the last eight dropped or misplaced, the pair
// number or the seed's high word ignored, the halves summed differently.
TEST(CounterRandom, SideBySideDrawsTheSameBitsAsOneByOne) {
  if (!CounterRandom::DrawsSideBySide()) GTEST_SKIP() << "this processor draws one stream at a time";
  constexpr std::size_t kStreams = 37;
  const std::tuple<uint64_t, uint64_t, uint64_t> rows[] = {
      {kSeed, 1, 0}, {kSeed, 0xFFFFFFF4ull, 82}, {~0ull, 1ull << 40, 1ull << 33}};
  for (const auto& [seed, firstStream, pair] : rows) {
    const CounterRandom random(seed);
    std::vector<float> a(kStreams), b(kStreams), c(kStreams), d(kStreams), one(1), other(1);
    random.Pairs(firstStream, pair, a, b), random.PairsOneByOne(firstStream, pair, c, d);
    random.Pairs(firstStream + 9, pair, one, other);  // a stream drawn alone is the same stream
    EXPECT_EQ(std::tuple(a, b, one[0], other[0]), std::tuple(c, d, a[9], b[9])) << firstStream;
  }
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
  // The parallel run's stream per particle, two pairs each, as a run draws
  // them: neighbours are the same deviate of neighbouring streams.
  std::vector<float> deviates(kDraws);  // pair 0's two quarters, then pair 1's
  for (uint64_t pair = 0; pair < 2; ++pair)
    CounterRandom(kSeed).Pairs(1, pair, std::span(deviates).subspan(2 * pair * kStreams, kStreams),
                               std::span(deviates).subspan((2 * pair + 1) * kStreams, kStreams));
  ExpectNormalLike(
      "the parallel run's streams",
      [&deviates, k = std::size_t{0}](float a, float b) mutable { return deviates[k++] * a + b; }, kDraws);
}

}  // namespace
}  // namespace lakedrift
