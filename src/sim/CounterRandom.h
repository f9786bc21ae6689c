#pragma once
#include <array>
#include <cstdint>
#include <span>

namespace lakedrift {

// Normal deviates for many particles at once, drawn from a counter-based
// generator (Philox-4x32 with ten rounds) keyed by the run's seed: the
// deviates of stream p (one per particle) depend on nothing but the seed, p
// and which pair of the stream they are, never on which thread draws them,
// on how many streams are drawn together or on the processor.
//
// A deviate is the sum of twelve uniforms, as GaussianRandom forms it, less
// 6: each uniform takes 16 bits, k/65536 for k = 0…65535 moved by half a
// step to (k + ½)/65536, so that its mean is exactly ½ and the deviates
// are exactly symmetric about 0, with variance 1 − 2⁻³² and |d| < 6. Every
// deviate is exact in single precision. One Philox block gives eight
// uniforms, so a pair of deviates takes three blocks: pair n of stream p
// takes the blocks with counters (3n + i, p), i = 0, 1, 2, the first pair
// the first six words' halves, the second the next six.
//
// Where the processor has AVX2, eight streams are drawn side by side in
// vector lanes (about a sixth of the time a stream alone takes); the
// values are the same bits either way.
class CounterRandom {
 public:
  using Block = std::array<uint32_t, 4>;
  using Key = std::array<uint32_t, 2>;

  // Uniforms summed into one deviate.
  static constexpr int kUniformsPerDeviate = 12;

  explicit CounterRandom(uint64_t seed) : seed_(seed) {}

  // Pair `pair` (0, 1, …) of the streams firstStream, firstStream + 1, …:
  // stream firstStream + k's deviates in first[k] and second[k], for k
  // below the smaller of the two spans' sizes.
  void Pairs(uint64_t firstStream, uint64_t pair, std::span<float> first, std::span<float> second) const;
  // The same, one stream at a time, whatever the processor.
  void PairsOneByOne(uint64_t firstStream, uint64_t pair, std::span<float> first,
                     std::span<float> second) const;
  // True when Pairs draws eight streams at a time.
  static bool DrawsSideBySide();

  // The Philox-4x32-10 bijection of one counter block under a key.
  static Block Philox(Block counter, Key key);

 private:
  uint64_t seed_;
};

}  // namespace lakedrift
