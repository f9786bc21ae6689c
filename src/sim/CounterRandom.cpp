#include "sim/CounterRandom.h"

#include <Random123/philox.h>

namespace lakedrift {
namespace {

constexpr unsigned kRounds = 10;

constexpr int kWordBits = 64;
constexpr int kUniformBits = 24;  // a float holds 24 bits exactly
constexpr uint64_t kUniformMask = (1ull << kUniformBits) - 1;
constexpr float kTwoToMinus24 = 1.0f / 16777216.0f;
constexpr float kSumMean = 6.0f;  // the sum of twelve uniforms has mean 6
constexpr int kUniformsPerWord = 2;
constexpr int kBlocksPerPair = 2 * CounterRandom::kUniformsPerDeviate / CounterRandom::kUniformsPerBlock;
constexpr int kWordsPerDeviate = CounterRandom::kUniformsPerDeviate / kUniformsPerWord;

// One block through Random123's bijection, inline so that the compiler
// overlaps a pair's three blocks by itself: the 64 × 64-bit products bound
// the time, and taking the blocks' rounds in turn instead keeps more values
// live than there are registers (about a tenth slower).
inline CounterRandom::Block PhiloxOf(const CounterRandom::Block& counter, const CounterRandom::Key& key) {
  const philox4x64_ctr_t out =
      philox4x64_R(kRounds, (philox4x64_ctr_t{{counter[0], counter[1], counter[2], counter[3]}}),
                   (philox4x64_key_t{{key[0], key[1]}}));
  return {out.v[0], out.v[1], out.v[2], out.v[3]};
}

// Uniform `half` (0 the top 24 bits, 1 the next 24) of a word.
inline float UniformOf(uint64_t word, int half) {
  const int shift = kWordBits - kUniformBits * (half + 1);
  return static_cast<float>((word >> shift) & kUniformMask) * kTwoToMinus24;
}

}  // namespace

CounterRandom::Block CounterRandom::Philox(Block counter, Key key) { return PhiloxOf(counter, key); }

CounterRandom::Block CounterRandom::CounterOf(uint64_t block) const {
  // Every (stream, block) pair is a distinct counter, hence a distinct output.
  return {block, stream_, 0, 0};
}

float CounterRandom::Uniform() {
  const uint64_t block = nextUniform_ / kUniformsPerBlock;
  if (block != bufferedBlock_) {
    buffer_ = PhiloxOf(CounterOf(block), key_);
    bufferedBlock_ = block;
  }
  const auto inBlock = static_cast<int>(nextUniform_++ % kUniformsPerBlock);
  return UniformOf(buffer_[static_cast<std::size_t>(inBlock / kUniformsPerWord)], inBlock % kUniformsPerWord);
}

float CounterRandom::operator()(float a, float b) {
  float sum = 0.0f;
  for (int i = 0; i < kUniformsPerDeviate; ++i) sum += Uniform();
  return (sum - kSumMean) * a + b;
}

void CounterRandom::Pair(float a, float b, float& first, float& second) {
  if (nextUniform_ % kUniformsPerBlock != 0) {
    first = (*this)(a, b);
    second = (*this)(a, b);
    return;
  }
  // Block-aligned: the pair's three blocks, and the two sums side by side
  // (each still in its own order), so neither waits on the other.
  std::array<Block, kBlocksPerPair> blocks;
  const uint64_t firstBlock = nextUniform_ / kUniformsPerBlock;
  for (int i = 0; i < kBlocksPerPair; ++i)
    blocks[static_cast<std::size_t>(i)] = PhiloxOf(CounterOf(firstBlock + i), key_);
  constexpr std::size_t kWords = CounterRandom::Block().size();
  const auto word = [&blocks](int w) {
    return blocks[static_cast<std::size_t>(w) / kWords][static_cast<std::size_t>(w) % kWords];
  };
  float sumFirst = 0.0f, sumSecond = 0.0f;
  for (int w = 0; w < kWordsPerDeviate; ++w)
    for (int half = 0; half < kUniformsPerWord; ++half) {
      sumFirst += UniformOf(word(w), half);
      sumSecond += UniformOf(word(w + kWordsPerDeviate), half);
    }
  nextUniform_ += 2 * kUniformsPerDeviate;
  first = (sumFirst - kSumMean) * a + b;
  second = (sumSecond - kSumMean) * a + b;
}

}  // namespace lakedrift
