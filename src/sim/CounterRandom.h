#pragma once
#include <array>
#include <cstdint>

namespace lakedrift {

// Normal deviates for one particle, drawn from a counter-based generator
// (Philox-4x64 with ten rounds) keyed by the run's seed, its counter made of
// the stream number and a block number: the draws of stream p depend on
// nothing but the seed, p and how many were taken before, never on which
// thread takes them or on other streams.
//
// Deviates are formed exactly as GaussianRandom forms them: twelve
// single-precision uniforms in [0, 1) summed in single precision from 0,
// then (sum − 6)·a + b. Each 64-bit word gives two 24-bit uniforms (its
// top 24 bits, then the next 24), so a deviate takes six words and two
// deviates exactly three blocks.
//
// Small and cheap to make (no tables): make one per particle per step and
// Seek to the step's first deviate.
class CounterRandom {
 public:
  using Block = std::array<uint64_t, 4>;
  using Key = std::array<uint64_t, 2>;

  // Uniforms summed into one deviate.
  static constexpr int kUniformsPerDeviate = 12;
  // Uniforms taken from one generator block.
  static constexpr int kUniformsPerBlock = 8;

  // The stream `stream` of the run keyed by `seed`, at its first draw.
  CounterRandom(uint64_t seed, uint64_t stream) : key_{seed, 0}, stream_(stream) {}

  // Moves to the start of deviate number `deviate` (0, 1, …) of the stream.
  void Seek(uint64_t deviate) { nextUniform_ = deviate * kUniformsPerDeviate; }
  // A deviate with standard deviation a and mean b, in single precision.
  float operator()(float a, float b);
  // The next two deviates, the same values as two calls of operator() in
  // turn; from an even deviate they are drawn together, which is faster.
  void Pair(float a, float b, float& first, float& second);
  // A uniform number in [0, 1) with 24 significant bits, single precision.
  float Uniform();

  // The Philox-4x64-10 bijection of one counter block under a key.
  static Block Philox(Block counter, Key key);

 private:
  Block CounterOf(uint64_t block) const;

  Key key_;
  uint64_t stream_;
  uint64_t nextUniform_ = 0;        // uniforms drawn from the stream so far
  uint64_t bufferedBlock_ = ~0ull;  // the block held in buffer_, none at first
  Block buffer_{};
};

}  // namespace lakedrift
