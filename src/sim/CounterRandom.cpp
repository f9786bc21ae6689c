#include "sim/CounterRandom.h"

#include <Random123/philox.h>

#include <algorithm>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define LAKEDRIFT_X86 1
#endif

namespace lakedrift {
namespace {

constexpr unsigned kRounds = 10;
constexpr int kBlocksPerPair = 3;
constexpr int kWordsPerBlock = 4;
constexpr int kWordsPerDeviate = 6;  // two 16-bit uniforms a 32-bit word
constexpr uint32_t kLowHalf = 0xffff;
constexpr int kHalfBits = 16;
// (Σk + 12·½)/65536 − 6: the twelve uniforms' halves of a step added to
// the integer sum, scaled, less the sum's mean. All exact in single precision.
constexpr uint32_t kHalfSteps = CounterRandom::kUniformsPerDeviate / 2;
constexpr float kStep = 1.0f / 65536.0f;
constexpr float kSumMean = 6.0f;

inline float DeviateOf(uint32_t sum) { return static_cast<float>(sum + kHalfSteps) * kStep - kSumMean; }

inline uint32_t Low(uint64_t v) { return static_cast<uint32_t>(v); }
inline uint32_t High(uint64_t v) { return static_cast<uint32_t>(v >> 32); }

inline uint32_t HalvesOf(uint32_t word) { return (word & kLowHalf) + (word >> kHalfBits); }

void OneStream(const philox4x32_key_t& key, uint64_t stream, uint64_t pair, float& first, float& second) {
  uint32_t sums[2] = {0, 0};
  for (int b = 0; b < kBlocksPerPair; ++b) {
    const uint64_t block = kBlocksPerPair * pair + static_cast<uint64_t>(b);
    const philox4x32_ctr_t out =
        philox4x32_R(kRounds, (philox4x32_ctr_t{{Low(block), High(block), Low(stream), High(stream)}}), key);
    for (int w = 0; w < kWordsPerBlock; ++w)
      sums[(b * kWordsPerBlock + w) / kWordsPerDeviate] += HalvesOf(out.v[w]);
  }
  first = DeviateOf(sums[0]);
  second = DeviateOf(sums[1]);
}

#ifdef LAKEDRIFT_X86
constexpr std::size_t kLanes = 8;

// The high and low halves of the 32 × 32-bit products of each lane of a
// with m: the even lanes' products, then the odd lanes' moved down.
__attribute__((target("avx2"))) inline void MulHiLo(__m256i a, __m256i m, __m256i& lo, __m256i& hi) {
  constexpr int kOddLanes = 0xAA;
  const __m256i even = _mm256_mul_epu32(a, m);
  const __m256i odd = _mm256_mul_epu32(_mm256_srli_epi64(a, 32), m);
  lo = _mm256_blend_epi32(even, _mm256_slli_epi64(odd, 32), kOddLanes);
  hi = _mm256_blend_epi32(_mm256_srli_epi64(even, 32), odd, kOddLanes);
}

inline __m256i __attribute__((target("avx2"))) Splat(uint32_t v) {
  return _mm256_set1_epi32(static_cast<int>(v));
}

// Streams first … first + 7 side by side, one lane each: Philox-4x32 with
// Random123's multipliers and key increments, the pair's three blocks
// round by round, then the sums as OneStream takes them.
__attribute__((target("avx2"))) void EightStreams(const philox4x32_key_t& key, uint64_t first, uint64_t pair,
                                                  float* firstDeviates, float* secondDeviates) {
  const __m256i m0 = Splat(PHILOX_M4x32_0), m1 = Splat(PHILOX_M4x32_1);
  alignas(32) uint32_t low[kLanes], high[kLanes];
  for (std::size_t k = 0; k < kLanes; ++k) {
    low[k] = Low(first + k);
    high[k] = High(first + k);
  }
  const __m256i streamLow = _mm256_load_si256(reinterpret_cast<const __m256i*>(low));
  const __m256i streamHigh = _mm256_load_si256(reinterpret_cast<const __m256i*>(high));
  __m256i c0[kBlocksPerPair], c1[kBlocksPerPair], c2[kBlocksPerPair], c3[kBlocksPerPair];
  for (int b = 0; b < kBlocksPerPair; ++b) {
    const uint64_t block = kBlocksPerPair * pair + static_cast<uint64_t>(b);
    c0[b] = Splat(Low(block));
    c1[b] = Splat(High(block));
    c2[b] = streamLow;
    c3[b] = streamHigh;
  }
  uint32_t k0 = key.v[0], k1 = key.v[1];
  for (unsigned r = 0; r < kRounds; ++r) {
    const __m256i key0 = Splat(k0), key1 = Splat(k1);
    for (int b = 0; b < kBlocksPerPair; ++b) {
      __m256i lo0, hi0, lo1, hi1;
      MulHiLo(c0[b], m0, lo0, hi0);
      MulHiLo(c2[b], m1, lo1, hi1);
      c0[b] = _mm256_xor_si256(_mm256_xor_si256(hi1, c1[b]), key0);
      c1[b] = lo1;
      c2[b] = _mm256_xor_si256(_mm256_xor_si256(hi0, c3[b]), key1);
      c3[b] = lo0;
    }
    k0 += PHILOX_W32_0;
    k1 += PHILOX_W32_1;
  }
  const __m256i lowHalf = Splat(kLowHalf);
  __m256i sums[2] = {_mm256_setzero_si256(), _mm256_setzero_si256()};
  for (int b = 0; b < kBlocksPerPair; ++b) {
    const __m256i words[kWordsPerBlock] = {c0[b], c1[b], c2[b], c3[b]};
    for (int w = 0; w < kWordsPerBlock; ++w) {
      __m256i& sum = sums[(b * kWordsPerBlock + w) / kWordsPerDeviate];
      sum = _mm256_add_epi32(
          sum, _mm256_add_epi32(_mm256_and_si256(words[w], lowHalf), _mm256_srli_epi32(words[w], kHalfBits)));
    }
  }
  const __m256i halfSteps = Splat(kHalfSteps);
  const __m256 step = _mm256_set1_ps(kStep), mean = _mm256_set1_ps(kSumMean);
  float* out[2] = {firstDeviates, secondDeviates};
  for (int d = 0; d < 2; ++d) {
    // The sums stay below 2²⁰, so the signed conversion is exact.
    const __m256 sum = _mm256_cvtepi32_ps(_mm256_add_epi32(sums[d], halfSteps));
    _mm256_storeu_ps(out[d], _mm256_sub_ps(_mm256_mul_ps(sum, step), mean));
  }
}
#endif

}  // namespace

CounterRandom::Block CounterRandom::Philox(Block counter, Key key) {
  const philox4x32_ctr_t out =
      philox4x32_R(kRounds, (philox4x32_ctr_t{{counter[0], counter[1], counter[2], counter[3]}}),
                   (philox4x32_key_t{{key[0], key[1]}}));
  return {out.v[0], out.v[1], out.v[2], out.v[3]};
}

bool CounterRandom::DrawsSideBySide() {
#ifdef LAKEDRIFT_X86
  static const bool avx2 = __builtin_cpu_supports("avx2");
  return avx2;
#else
  return false;
#endif
}

void CounterRandom::PairsOneByOne(uint64_t firstStream, uint64_t pair, std::span<float> first,
                                  std::span<float> second) const {
  const philox4x32_key_t key{{Low(seed_), High(seed_)}};
  const std::size_t n = std::min(first.size(), second.size());
  for (std::size_t k = 0; k < n; ++k) OneStream(key, firstStream + k, pair, first[k], second[k]);
}

void CounterRandom::Pairs(uint64_t firstStream, uint64_t pair, std::span<float> first,
                          std::span<float> second) const {
  std::size_t k = 0;
#ifdef LAKEDRIFT_X86
  if (DrawsSideBySide()) {
    const philox4x32_key_t key{{Low(seed_), High(seed_)}};
    const std::size_t n = std::min(first.size(), second.size());
    for (; k + kLanes <= n; k += kLanes) EightStreams(key, firstStream + k, pair, &first[k], &second[k]);
  }
#endif
  PairsOneByOne(firstStream + k, pair, first.subspan(std::min(k, first.size())),
                second.subspan(std::min(k, second.size())));
}

}  // namespace lakedrift
