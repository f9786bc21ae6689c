#include "sim/CounterRandom.h"

#include <Random123/philox.h>

namespace lakedrift {
namespace {

constexpr unsigned kRounds = 10;
using PhiloxBijection = r123::Philox4x64_R<kRounds>;

constexpr int kWordBits = 64;
constexpr int kUniformBits = 24;  // a float holds 24 bits exactly
constexpr uint64_t kUniformMask = (1ull << kUniformBits) - 1;
constexpr float kTwoToMinus24 = 1.0f / 16777216.0f;
constexpr float kSumMean = 6.0f;  // the sum of twelve uniforms has mean 6
constexpr int kUniformsPerWord = 2;
constexpr int kBlocksPerPair = 2 * CounterRandom::kUniformsPerDeviate / CounterRandom::kUniformsPerBlock;
constexpr int kWordsPerDeviate = CounterRandom::kUniformsPerDeviate / kUniformsPerWord;

// Several blocks under one key, round by round: each round is Random123's,
// and the blocks take it in turn, so that their independent multiplications
// overlap in the processor (about 40 % less time than one whole block
// after another).
template <std::size_t N>
void PhiloxBlocks(std::array<CounterRandom::Block, N>& blocks, const CounterRandom::Key& key) {
  std::array<philox4x64_ctr_t, N> counters;
  for (std::size_t i = 0; i < N; ++i)
    counters[i] = {{blocks[i][0], blocks[i][1], blocks[i][2], blocks[i][3]}};
  philox4x64_key_t roundKey = {{key[0], key[1]}};
  for (unsigned r = 0; r < kRounds; ++r) {
    if (r > 0) roundKey = {{roundKey.v[0] + PHILOX_W64_0, roundKey.v[1] + PHILOX_W64_1}};
    for (philox4x64_ctr_t& c : counters) c = philox4x64_R(1, c, roundKey);
  }
  for (std::size_t i = 0; i < N; ++i) {
    const philox4x64_ctr_t& c = counters[i];
    blocks[i] = {c.v[0], c.v[1], c.v[2], c.v[3]};
  }
}

// Uniform `half` (0 the top 24 bits, 1 the next 24) of a word.
inline float UniformOf(uint64_t word, int half) {
  const int shift = kWordBits - kUniformBits * (half + 1);
  return static_cast<float>((word >> shift) & kUniformMask) * kTwoToMinus24;
}

}  // namespace

CounterRandom::CounterRandom(uint64_t seed, uint64_t stream) : key_{seed, 0}, stream_(stream) {}

CounterRandom::Block CounterRandom::Philox(Block counter, Key key) {
  const PhiloxBijection::ctr_type out =
      PhiloxBijection{}({{counter[0], counter[1], counter[2], counter[3]}}, {{key[0], key[1]}});
  return {out.v[0], out.v[1], out.v[2], out.v[3]};
}

CounterRandom::Block CounterRandom::CounterOf(uint64_t block) const {
  // Every (stream, block) pair is a distinct counter, hence a distinct output.
  return {block, stream_, 0, 0};
}

void CounterRandom::Seek(uint64_t deviate) { nextUniform_ = deviate * kUniformsPerDeviate; }

float CounterRandom::Uniform() {
  const uint64_t block = nextUniform_ / kUniformsPerBlock;
  if (block != bufferedBlock_) {
    buffer_ = Philox(CounterOf(block), key_);
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
  // Block-aligned: the pair's three blocks together, and the two sums side by
  // side (each still in its own order), so neither waits on the other.
  std::array<Block, kBlocksPerPair> blocks;
  const uint64_t firstBlock = nextUniform_ / kUniformsPerBlock;
  for (int i = 0; i < kBlocksPerPair; ++i) blocks[static_cast<std::size_t>(i)] = CounterOf(firstBlock + i);
  PhiloxBlocks(blocks, key_);
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
