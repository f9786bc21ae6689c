#include "sim/ParallelRun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "model/GeometryReader.h"
#include "model/PointInLake.h"
#include "sim/RunFixture.h"
#include "sim/SimulationRun.h"
#include "view/RunPicture.h"

namespace lakedrift {
namespace {

using test::TestLakeState;

// A surface that draws nothing: the reference run's picture plays no part
// in the positions, and recording millions of segments would only cost time.
class NullSurface : public Surface {
 public:
  void Clear() override {}
  void Line(float, float, float, float) override {}
  void FilledBox(float, float, float, float, Rgb) override {}
  void Circle(float, float, float, Rgb) override {}
  void Print(const std::string&) override {}
  float TextWidth(const std::string&) const override { return 1; }
  float TextHeight(const std::string&) const override { return 1; }
};

// Every track level of every particle, as a run hands them out.
struct Levels {
  std::vector<std::vector<double>> x;
  std::vector<std::vector<float>> y;
};

Levels ReferenceLevels(ModelState state, uint64_t seed) {
  NullSurface surface;
  DrawnRun drawn_run(state, surface, seed);
  SimulationRun& run = drawn_run.run;
  const Status s = RunSimulation(run, [] { return true; });
  EXPECT_TRUE(s.ok()) << s.message();
  Levels levels;
  for (int level = 1; level <= run.StepsDone() + 1; ++level) {
    levels.x.emplace_back(), levels.y.emplace_back();
    for (int p = 1; p <= run.ParticlesMoved(); ++p) {
      levels.x.back().push_back(run.TrackX(p, level));
      levels.y.back().push_back(run.TrackY(p, level));
    }
  }
  return levels;
}

Levels ParallelLevels(const ModelState& state, uint64_t seed, int threads) {
  ParallelRun run(state, seed, threads);
  Levels levels;
  run.SetLevelCallback([&levels](int level, std::span<const double> x, std::span<const float> y) {
    EXPECT_EQ(level, static_cast<int>(levels.x.size()) + 1);  // in order, none skipped
    levels.x.emplace_back(x.begin(), x.end());
    levels.y.emplace_back(y.begin(), y.end());
  });
  const Status s = run.Run();
  EXPECT_TRUE(s.ok()) << s.message();
  return levels;
}

// Compares two runs level by level and particle by particle, bit for bit.
void ExpectSameTracks(const Levels& a, const Levels& b) {
  ASSERT_EQ(a.x.size(), b.x.size());
  for (std::size_t level = 0; level < a.x.size(); ++level) {
    ASSERT_EQ(a.x[level].size(), b.x[level].size());
    for (std::size_t p = 0; p < a.x[level].size(); ++p) {
      ASSERT_EQ(a.x[level][p], b.x[level][p]) << "level " << level + 1 << " particle " << p + 1;
      ASSERT_EQ(a.y[level][p], b.y[level][p]) << "level " << level + 1 << " particle " << p + 1;
    }
  }
}

// A current turning round the centre of the test lake (and its island)
// with an eastward drift and a strength that changes from frame to frame:
// particles cross elements, and the drift drives them into the shore.
std::filesystem::path WriteGyreFlow(const ModelState& state, const std::string& name) {
  constexpr double kCentre = 5000.0;  // m
  constexpr double kTurnRate = 6e-5;  // 1/s: 0.18 m/s at 3 km
  constexpr double kDrift = 0.06;     // m/s east
  constexpr int kFrames = 84;
  const auto path = test::FreshOutputDir("gyre_" + name) / (name + ".fld");
  std::ofstream out(path, std::ios::binary);
  auto put = [&out](double value) {
    const float f = static_cast<float>(value);
    out.write(reinterpret_cast<const char*>(&f), sizeof f);  // the test machine is little-endian
  };
  for (int k = 0; k < kFrames; ++k) {
    const double strength = 1 + 0.5 * std::sin(k / 7.0);
    for (int n = 1; n <= state.NodeCount; ++n)
      put(-kTurnRate * strength * (state.NodeYMetres(n) - kCentre) + kDrift);
    for (int n = 1; n <= state.NodeCount; ++n) put(kTurnRate * strength * (state.NodeXMetres(n) - kCentre));
  }
  return path;
}

TEST(ParallelRun, WithoutDiffusionGivesTheReferencePositionsExactly) {
  // With K = 0 the reference's draws are multiplied by 0, so both runs are
  // the deterministic particle step; every particle follows the same path,
  // so the shared and the per-particle walk starts coincide too.
  ModelState state = TestLakeState();
  state.DiffusionCoef = 0;
  state.ParticleCount = 23;
  for (const bool gyre : {false, true}) {
    if (gyre) state.FlowFileName = WriteGyreFlow(state, "exact").string();
    const Levels reference = ReferenceLevels(state, 9);
    ASSERT_EQ(reference.x.size(), 84u);
    // The path is not trivial: it moved, and (in the gyre) hit the shore.
    EXPECT_NE(reference.x.back()[0], reference.x.front()[0]);
    ExpectSameTracks(ParallelLevels(state, 4, 2), reference);
  }
}

TEST(ParallelRun, GyreTrackMeetsTheShoreAndIsSentBack) {
  // Guards the previous test's coverage: along the gyre track some move is
  // reflected, i.e. the particle's displacement is not the flow's.
  ModelState state = TestLakeState();
  state.DiffusionCoef = 0;
  state.ParticleCount = 1;
  state.FlowFileName = WriteGyreFlow(state, "reflect").string();
  const Levels levels = ParallelLevels(state, 1, 1);
  const ShoreIndex shore = ShoreIndex::ForMetres(state);
  int reflected = 0;
  for (std::size_t k = 0; k + 1 < levels.x.size(); ++k) {
    // A reflected move goes from x to x − dx: its mirror x + dx is off the water.
    const double mirrorX = 2 * levels.x[k][0] - levels.x[k + 1][0];
    const double mirrorY = 2 * static_cast<double>(levels.y[k][0]) - levels.y[k + 1][0];
    reflected += shore.Contains(mirrorX, mirrorY) == 0;
  }
  EXPECT_GT(reflected, 0);
}

TEST(ParallelRun, WithoutDiffusionMatchesTheReferenceOnTheWholeLakeSample) {
  const auto geometry = test::SampleDataPath("geomtan.inp");
  const auto flow = test::SampleDataPath("tanws.fld");
  if (!std::filesystem::exists(geometry) || !std::filesystem::exists(flow))
    GTEST_SKIP() << "the whole-lake sample has not been generated";
  ModelState state = TestLakeState();
  ASSERT_TRUE(ReadGeometry(state, geometry).ok());
  state.FlowFileName = flow.string();
  state.DiffusionCoef = 0;
  state.ParticleCount = 5;
  // Release at the centre of elements spread over the lake.
  int compared = 0;
  for (int e : {state.ElementCount / 7, state.ElementCount / 2, 6 * state.ElementCount / 7}) {
    double cx = 0, cy = 0;
    for (int j = 1; j <= 3; ++j)
      cx += state.NodeX(state.ElemNode(j, e)) / 3, cy += state.NodeY(state.ElemNode(j, e)) / 3;
    state.ReleaseX = cx, state.ReleaseY = static_cast<float>(cy);
    if (PointInLake(state, cx, cy) == 0) continue;
    ExpectSameTracks(ParallelLevels(state, 1, 2), ReferenceLevels(state, 1));
    ++compared;
  }
  EXPECT_GE(compared, 2);
}

TEST(ParallelRun, ThreadCountDoesNotChangeAnyPosition) {
  ModelState state = TestLakeState();
  // Several chunks of work for the threads to share, the last one partial.
  state.ParticleCount = 10007;
  state.DiffusionCoef = 5.0;  // wide spread: shore and island reflections
  state.FlowFileName = WriteGyreFlow(state, "threads").string();
  const Levels one = ParallelLevels(state, 77, 1);
  ExpectSameTracks(ParallelLevels(state, 77, 2), one);
  ExpectSameTracks(ParallelLevels(state, 77, 3), one);
  // The seed does matter.
  const Levels other = ParallelLevels(state, 78, 2);
  EXPECT_NE(other.x.back(), one.x.back());
}

// FNV-1a over the bits of the last level's positions, x then y, particle
// by particle: any change in any position changes it.
uint64_t HashOfLastLevel(const Levels& levels) {
  constexpr uint64_t kOffsetBasis = 0xcbf29ce484222325ull, kPrime = 0x100000001b3ull;
  uint64_t hash = kOffsetBasis;
  auto mix = [&hash](const void* data, std::size_t size) {
    for (std::size_t b = 0; b < size; ++b)
      hash = (hash ^ static_cast<const unsigned char*>(data)[b]) * kPrime;
  };
  for (std::size_t p = 0; p < levels.x.back().size(); ++p) {
    mix(&levels.x.back()[p], sizeof(double));
    mix(&levels.y.back()[p], sizeof(float));
  }
  return hash;
}

TEST(PinnedTracks, SeededRunsEndWhereTheyAlwaysHave) {
  // A seeded run on the committed test lake, wide diffusion so particles
  // cross elements and meet the shore and the island. The desktop run's
  // positions (its shared walk start and one random sequence) and the
  // threaded run's (its own start and stream per particle, any thread
  // count) are pinned: a change to the walk, the interpolation, the draws or
  // the shore rule that moves any particle by one bit fails here.
  ModelState state = TestLakeState();
  state.ParticleCount = 300;
  state.DiffusionCoef = 5.0;
  constexpr uint64_t kSeed = 20261207;
  struct Case {
    const char* engine;
    int threads;  // 0: the desktop run
    uint64_t expected;
  };
  for (const Case& c : {Case{"desktop", 0, 0x2b6cbde8d261895eull}, Case{"threaded", 1, 0x48b6279a19b08c72ull},
                        Case{"threaded", 2, 0x48b6279a19b08c72ull}}) {
    const Levels levels =
        c.threads == 0 ? ReferenceLevels(state, kSeed) : ParallelLevels(state, kSeed, c.threads);
    ASSERT_EQ(levels.x.size(), 84u);
    EXPECT_EQ(HashOfLastLevel(levels), c.expected) << c.engine << " run on " << c.threads << " threads";
  }
}

// Mean and variance of a sample, with their standard errors.
struct Moments {
  double mean = 0, variance = 0, meanError = 0, varianceError = 0;
};

template <typename T>
Moments MomentsOf(const std::vector<T>& values) {
  const double n = static_cast<double>(values.size());
  Moments m;
  for (T v : values) m.mean += v / n;
  double m4 = 0;
  for (T v : values) {
    const double d = v - m.mean;
    m.variance += d * d / n;
    m4 += d * d * d * d / n;
  }
  m.meanError = std::sqrt(m.variance / n);
  // The sample variance's standard error: √((μ4 − σ⁴) / n).
  m.varianceError = std::sqrt((m4 - m.variance * m.variance) / n);
  return m;
}

// Two independent samples of one distribution: their means and variances
// differ by less than five combined standard errors (a false alarm about
// once in 1.7 million comparisons).
template <typename T>
void ExpectSameDistribution(const std::vector<T>& a, const std::vector<T>& b, const char* what) {
  constexpr double kStandardErrors = 5.0;
  const Moments ma = MomentsOf(a), mb = MomentsOf(b);
  EXPECT_LT(std::fabs(ma.mean - mb.mean), kStandardErrors * std::hypot(ma.meanError, mb.meanError))
      << what << " mean " << ma.mean << " vs " << mb.mean;
  EXPECT_LT(std::fabs(ma.variance - mb.variance),
            kStandardErrors * std::hypot(ma.varianceError, mb.varianceError))
      << what << " variance " << ma.variance << " vs " << mb.variance;
}

TEST(ParallelRun, WithDiffusionTheCloudMatchesTheReferenceStatistically) {
  // 20 000 particles from the default release point with the committed
  // flow (the same current at every node): the clouds of the two runs at
  // an early and at the last level are samples of one distribution.
  ModelState state = TestLakeState();
  state.ParticleCount = 20000;
  state.DiffusionCoef = 0.1;
  const Levels reference = ReferenceLevels(state, 12345);
  const Levels parallel = ParallelLevels(state, 54321, 2);
  for (std::size_t level : {std::size_t{10}, std::size_t{83}}) {
    ExpectSameDistribution(parallel.x[level], reference.x[level], "x");
    ExpectSameDistribution(parallel.y[level], reference.y[level], "y");
  }
  // The spread is the random walk's: about 37.9 m per step and component
  // at the first step, before any particle reaches the shore.
  const Moments first = MomentsOf(parallel.x[1]);
  EXPECT_NEAR(std::sqrt(first.variance), std::sqrt(2 * 0.1 * 7200), 1.0);
}

TEST(ParallelRun, MovesTheWholeParticlesOfAFractionalCount) {
  ModelState state = TestLakeState();
  state.ParticleCount = 12.7;
  ParallelRun run(state, 3, 2);
  ASSERT_TRUE(run.Start().ok());
  EXPECT_EQ(run.ParticleCount(), 12);
  EXPECT_EQ(run.StepCount(), 83);
  // Every particle at the release point, in the element the reference finds.
  NullSurface surface;
  DrawnRun drawn_reference(state, surface, 3);
  SimulationRun& reference = drawn_reference.run;
  ASSERT_TRUE(reference.Start().ok());
  EXPECT_EQ(run.ReleaseElement(), reference.CurrentElement());
  for (std::size_t i = 0; i < 12; ++i) {
    EXPECT_EQ(run.X()[i], 3000.0);
    EXPECT_EQ(run.Y()[i], 1000.0f);
    EXPECT_EQ(run.Elements()[i], run.ReleaseElement());
  }
}

TEST(ParallelRun, HoldsFewerThanOneHundredBytesPerParticle) {
  ModelState state = TestLakeState();
  state.ParticleCount = 100000;
  ParallelRun run(state, 3, 2);
  ASSERT_TRUE(run.Start().ok());
  ASSERT_TRUE(run.Step().ok());
  EXPECT_LT(run.HeldBytes(), 100u * 100000u);
  EXPECT_GE(run.HeldBytes(), ParallelRun::kBytesPerParticle * 100000u);
}

TEST(ParallelRun, MissingFlowFileFailsAtTheStart) {
  ModelState state = TestLakeState();
  state.FlowFileName = (test::FreshOutputDir("parallel_missing") / "tanws.fld").string();
  ParallelRun run(state, 1, 2);
  EXPECT_EQ(run.Start().kind(), ErrorKind::FileMissing);
  EXPECT_FALSE(run.HasNextStep());
}

TEST(ParallelRun, FlowFileEndingEarlyFailsAtTheFrameItLacks) {
  ModelState state = TestLakeState();
  state.FlowFileName = test::WriteUniformFlow(
                           "short", state.NodeCount, 3, [](int) { return 0.01f; }, [](int) { return 0.0f; })
                           .string();
  ParallelRun run(state, 1, 2);
  ASSERT_TRUE(run.Start().ok());
  ASSERT_TRUE(run.Step().ok());                        // frame 1
  ASSERT_TRUE(run.Step().ok());                        // frame 2
  EXPECT_EQ(run.Step().kind(), ErrorKind::ShortFile);  // frame 3 is missing
  EXPECT_EQ(run.StepsDone(), 2);
  EXPECT_FALSE(run.HasNextStep());
}

}  // namespace
}  // namespace lakedrift
