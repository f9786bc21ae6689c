#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
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
      {{0, 0, 0, 0}, {0, 0}, {0x16554d9eca36314cull, 0xdb20fe9d672d0fdcull, 0xd7e772cee186176bull, 0x7e68b68aec7ba23bull}},
      {{~0ull, ~0ull, ~0ull, ~0ull}, {~0ull, ~0ull}, {0x87b092c3013fe90bull, 0x438c3c67be8d0224ull, 0x9cc7d7c69cd777b6ull, 0xa09caebf594f0ba0ull}},
      {{0x243f6a8885a308d3ull, 0x13198a2e03707344ull, 0xa4093822299f31d0ull, 0x082efa98ec4e6c89ull}, {0x452821e638d01377ull, 0xbe5466cf34e90c6cull},
       {0xa528f45403e61d95ull, 0x38c72dbd566e9788ull, 0xa5a1610e72fd18b5ull, 0x57bd43b5e52b7fe6ull}}};
  // clang-format on
  for (const auto& [counter, key, expected] : rows) EXPECT_EQ(CounterRandom::Philox(counter, key), expected);
}

// Faults: Pair's two deviates not the next two of the stream when it starts
// inside a block (the runs start it on block boundaries only).
TEST(CounterRandom, PairGivesTheNextTwoDeviatesWhereverItStarts) {
  for (uint64_t start : {0u, 1u, 2u, 7u}) {
    CounterRandom single(kSeed, 5), paired(kSeed, 5);
    single.Seek(start), paired.Seek(start);
    for (int k = 0; k < 20; ++k) {
      std::pair<float, float> pair;
      paired.Pair(1.5f, -2.0f, pair.first, pair.second);
      const float first = single(1.5f, -2.0f);
      ASSERT_EQ(pair, std::make_pair(first, single(1.5f, -2.0f))) << start << " " << k;
    }
  }
}

// A generator as the runs draw from it: draw k (0, 1, …) of n deviates with
// standard deviation a and mean b; draws k and k + 1 are neighbours as a
// run uses them.
struct Generator {
  const char* name;
  std::function<std::function<float(float, float)>(long n)> deviates;
};

const Generator kGenerators[] = {
    // The desktop run's one sequence.
    {"Sequence", [](long) { return std::function<float(float, float)>(GaussianRandom(12345)); }},
    // The parallel run's stream per particle, four deviates each:
    // neighbours are the same deviate of neighbouring streams.
    {"Streams", [](long n) -> std::function<float(float, float)> {
       return [k = 0L, streams = n / 4](float a, float b) mutable {
         CounterRandom random(kSeed, static_cast<uint64_t>(k % streams + 1));
         random.Seek(static_cast<uint64_t>(k++ / streams));
         return random(a, b);
       };
     }}};

class RandomStatistics : public testing::TestWithParam<Generator> {};

// Faults: a and b swapped or misapplied, a biased or too narrow sum,
// deviates beyond b ± 6a, neighbouring draws correlated.
TEST_P(RandomStatistics, DeviatesAreNormalLikeWithMeanBAndDeviationA) {
  constexpr long kDraws = 200000;
  constexpr float kA = 2.0f, kB = 10.0f;
  auto draw = GetParam().deviates(kDraws);
  double sum = 0, sumSquares = 0, cross = 0, previous = 0, low = 0, high = 0;
  for (long i = 0; i < kDraws; ++i) {
    const double r = (draw(kA, kB) - kB) / kA;  // standardised
    sum += r, sumSquares += r * r, cross += r * previous;
    previous = r;
    low = std::min(low, r), high = std::max(high, r);
  }
  // Standard errors: mean and lag-one product 1/√n, variance about √(2/n); five of each.
  const double n = kDraws, five = 5 / std::sqrt(n);
  EXPECT_NEAR(sum / n, 0.0, five);
  EXPECT_NEAR(sumSquares / n, 1.0, five * std::sqrt(2.0));
  EXPECT_NEAR(cross / n, 0.0, five);
  EXPECT_TRUE(low >= -6.0 && high <= 6.0) << low << ", " << high;
  EXPECT_TRUE(low < -3.5 && high > 3.5) << "the tails not reached: " << low << ", " << high;
}

INSTANTIATE_TEST_SUITE_P(Generators, RandomStatistics, testing::ValuesIn(kGenerators),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lakedrift
