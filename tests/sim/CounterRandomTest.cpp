#include "sim/CounterRandom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace lakedrift {
namespace {

constexpr uint64_t kSeed = 0x0123456789ABCDEFull;

TEST(CounterRandom, PhiloxMatchesThePublishedKnownAnswers) {
  using B = CounterRandom::Block;
  using K = CounterRandom::Key;
  EXPECT_EQ(CounterRandom::Philox(B{0, 0, 0, 0}, K{0, 0}),
            (B{0x16554d9eca36314cull, 0xdb20fe9d672d0fdcull, 0xd7e772cee186176bull, 0x7e68b68aec7ba23bull}));
  EXPECT_EQ(CounterRandom::Philox(B{~0ull, ~0ull, ~0ull, ~0ull}, K{~0ull, ~0ull}),
            (B{0x87b092c3013fe90bull, 0x438c3c67be8d0224ull, 0x9cc7d7c69cd777b6ull, 0xa09caebf594f0ba0ull}));
  EXPECT_EQ(CounterRandom::Philox(
                B{0x243f6a8885a308d3ull, 0x13198a2e03707344ull, 0xa4093822299f31d0ull, 0x082efa98ec4e6c89ull},
                K{0x452821e638d01377ull, 0xbe5466cf34e90c6cull}),
            (B{0xa528f45403e61d95ull, 0x38c72dbd566e9788ull, 0xa5a1610e72fd18b5ull, 0x57bd43b5e52b7fe6ull}));
}

TEST(CounterRandom, DeviateIsTwelveSinglePrecisionUniformsMinusSixScaled) {
  CounterRandom byDeviate(kSeed, 7), byUniform(kSeed, 7);
  for (int d = 0; d < 200; ++d) {
    float sum = 0.0f;
    for (int i = 0; i < 12; ++i) sum += byUniform.Uniform();
    const float expected = (sum - 6.0f) * 2.5f + 3.0f;
    ASSERT_EQ(byDeviate(2.5f, 3.0f), expected) << d;
  }
}

TEST(CounterRandom, PairGivesTheNextTwoDeviatesWhereverItStarts) {
  for (uint64_t start : {0u, 1u, 2u, 7u}) {  // block-aligned and not
    CounterRandom single(kSeed, 5), paired(kSeed, 5);
    single.Seek(start), paired.Seek(start);
    for (int k = 0; k < 20; ++k) {
      float first = 0, second = 0;
      paired.Pair(1.5f, -2.0f, first, second);
      ASSERT_EQ(first, single(1.5f, -2.0f)) << start << " " << k;
      ASSERT_EQ(second, single(1.5f, -2.0f)) << start << " " << k;
    }
  }
}

TEST(CounterRandom, UniformsAreTwentyFourBitFractionsBelowOne) {
  CounterRandom random(kSeed, 1);
  double sum = 0;
  constexpr int kDraws = 200000;
  for (int i = 0; i < kDraws; ++i) {
    const float u = random.Uniform();
    ASSERT_GE(u, 0.0f);
    ASSERT_LT(u, 1.0f);
    ASSERT_EQ(u * 16777216.0f, std::floor(u * 16777216.0f));
    sum += u;
  }
  // Mean 1/2, standard error √(1/12 / n) ≈ 0.00065; five of them.
  EXPECT_NEAR(sum / kDraws, 0.5, 5 * std::sqrt(1.0 / 12 / kDraws));
}

TEST(CounterRandom, StreamDependsOnlyOnSeedStreamAndPosition) {
  // Deviate d of stream p is the same whether reached by drawing, by Seek,
  // or with other streams drawn in between.
  CounterRandom sequential(kSeed, 42);
  std::vector<float> expected;
  for (int d = 0; d < 50; ++d) expected.push_back(sequential(1.0f, 0.0f));
  for (int d = 49; d >= 0; --d) {
    CounterRandom other(kSeed, 41);
    other.Seek(static_cast<uint64_t>(d));
    (void)other(1.0f, 0.0f);
    CounterRandom seeking(kSeed, 42);
    seeking.Seek(static_cast<uint64_t>(d));
    ASSERT_EQ(seeking(1.0f, 0.0f), expected[static_cast<std::size_t>(d)]) << d;
  }
  // After odd uniforms the deviate straddles blocks and still follows the stream.
  CounterRandom straddle(kSeed, 42), words(kSeed, 42);
  (void)straddle.Uniform();
  (void)words.Uniform();
  float sum = 0.0f;
  for (int i = 0; i < 12; ++i) sum += words.Uniform();
  EXPECT_EQ(straddle(1.0f, 0.0f), sum - 6.0f);
}

TEST(CounterRandom, DeviatesAreStandardNormalLikeAndNeighbourStreamsUncorrelated) {
  // Over many streams (as a run uses them: one per particle, a few deviates
  // each): mean 0, variance 1, within [−6, 6], and no correlation between
  // the same deviate of neighbouring streams.
  constexpr int kStreams = 50000, kPerStream = 4;
  double sum = 0, sumSq = 0, cross = 0;
  float previous[kPerStream] = {};
  for (int p = 1; p <= kStreams; ++p) {
    CounterRandom random(kSeed, static_cast<uint64_t>(p));
    for (int d = 0; d < kPerStream; ++d) {
      const float r = random(1.0f, 0.0f);
      ASSERT_LE(std::fabs(r), 6.0f);
      sum += r, sumSq += static_cast<double>(r) * r;
      if (p > 1) cross += static_cast<double>(r) * previous[d];
      previous[d] = r;
    }
  }
  const double n = kStreams * kPerStream;
  // Standard errors: mean 1/√n, variance about √(2/n) (a near-normal
  // variable), product of independent unit deviates 1/√n; five of each.
  EXPECT_NEAR(sum / n, 0.0, 5 / std::sqrt(n));
  EXPECT_NEAR(sumSq / n, 1.0, 5 * std::sqrt(2 / n));
  EXPECT_NEAR(cross / (n - kPerStream), 0.0, 5 / std::sqrt(n));
}

}  // namespace
}  // namespace lakedrift
