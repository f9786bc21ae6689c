#include "sim/CounterRandom.h"

namespace lakedrift {
namespace {

__extension__ typedef unsigned __int128 Product;  // a full 64 × 64-bit product

// The published Philox-4x64 constants: the two round multipliers and the
// two key increments (the golden ratio and √3 − 1 in 64 bits).
constexpr uint64_t kMultiplier0 = 0xD2E7470EE14C6C93ull;
constexpr uint64_t kMultiplier1 = 0xCA5A826395121157ull;
constexpr uint64_t kKeyStep0 = 0x9E3779B97F4A7C15ull;
constexpr uint64_t kKeyStep1 = 0xBB67AE8584CAA73Bull;
constexpr int kRounds = 10;
constexpr int kWordBits = 64;
constexpr int kUniformBits = 24;  // a float holds 24 bits exactly
constexpr uint64_t kUniformMask = (1ull << kUniformBits) - 1;
constexpr float kTwoToMinus24 = 1.0f / 16777216.0f;
constexpr float kSumMean = 6.0f;  // the sum of twelve uniforms has mean 6
constexpr int kUniformsPerWord = 2;
constexpr int kBlocksPerPair = 2 * CounterRandom::kUniformsPerDeviate / CounterRandom::kUniformsPerBlock;
constexpr int kWordsPerDeviate = CounterRandom::kUniformsPerDeviate / kUniformsPerWord;

inline uint64_t High(Product p) { return static_cast<uint64_t>(p >> kWordBits); }
inline uint64_t Low(Product p) { return static_cast<uint64_t>(p); }

inline void Round(CounterRandom::Block& c, const CounterRandom::Key& k) {
  const Product p0 = static_cast<Product>(kMultiplier0) * c[0];
  const Product p1 = static_cast<Product>(kMultiplier1) * c[2];
  c = {High(p1) ^ c[1] ^ k[0], Low(p1), High(p0) ^ c[3] ^ k[1], Low(p0)};
}

// Several blocks round by round, so that their independent multiplications
// overlap in the processor.
template <std::size_t N>
inline void PhiloxBlocks(std::array<CounterRandom::Block, N>& blocks, CounterRandom::Key key) {
  for (int r = 0; r < kRounds; ++r) {
    if (r > 0) key = {key[0] + kKeyStep0, key[1] + kKeyStep1};
    for (auto& b : blocks) Round(b, key);
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
  std::array<Block, 1> blocks{counter};
  PhiloxBlocks(blocks, key);
  return blocks[0];
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
  // Block-aligned: the pair's three blocks at once, and the two sums side by
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
