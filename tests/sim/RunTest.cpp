#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "model/ShoreIndex.h"
#include "sim/ElementLocation.h"
#include "sim/HeadlessRun.h"
#include "sim/ParallelRun.h"
#include "sim/RunFixture.h"
#include "sim/SimulationRun.h"
#include "view/RecordingSurface.h"
#include "view/RunPicture.h"

namespace lakedrift {
namespace {

using test::TestLakeState;

int CountRedLines(const std::vector<RecordingSurface::Operation>& ops, std::size_t from) {
  int count = 0;
  for (std::size_t i = from; i < ops.size(); ++i)
    if (ops[i].kind == RecordingSurface::Kind::Line && ops[i].state.foreColor == PaletteColour(kLightRed))
      ++count;
  return count;
}

std::size_t LastClear(const std::vector<RecordingSurface::Operation>& ops) {
  for (std::size_t i = ops.size(); i-- > 0;)
    if (ops[i].kind == RecordingSurface::Kind::Clear) return i;
  return 0;
}

TEST(DesktopRun, EndsAtTheLastTimeOfItsSeasonNeverLoweringMaxSpeed) {
  for (int season : {1, 2}) {
    ModelState state = TestLakeState();
    state.Season = static_cast<int16_t>(season);
    state.MaxSpeed = 5.0;  // larger than any speed in the file
    RecordingSurface surface(200, 200);
    DrawnRun drawn(state, surface, 7);
    ASSERT_TRUE(RunSimulation(drawn.run, [] { return true; }).ok());
    EXPECT_EQ(drawn.run.StepsDone(), 83);
    const char* last =
        season == 1 ? "Simulation Time:22:00 8-April-97" : "Simulation Time:22:00 28-August-97";
    EXPECT_EQ(drawn.run.LastLabel(), last);
    EXPECT_EQ(surface.PrintedTexts().back(), last);
    EXPECT_DOUBLE_EQ(state.MaxSpeed, 5.0);
  }
}

TEST(DesktopRun, YieldAnsweringStopEndsTheRunEarly) {
  ModelState state = TestLakeState();
  test::NullSurface surface;
  DrawnRun drawn(state, surface, 3);
  int yields = 0;
  ASSERT_TRUE(RunSimulation(drawn.run, [&yields] { return ++yields < 5; }).ok());
  EXPECT_EQ(drawn.run.StepsDone(), 5);
  EXPECT_FALSE(drawn.run.HasNextStep());
}

TEST(DesktopRun, PictureAfterAStepIsMapVectorsMarkerTracksLabel) {
  ModelState state = TestLakeState();
  state.ParticleCount = 1;
  RecordingSurface surface(200, 200);
  DrawnRun drawn(state, surface, 3);
  SimulationRun& run = drawn.run;
  ASSERT_TRUE(run.Start().ok());
  ASSERT_TRUE(run.Step().ok());
  // The first label's box is sized by the longer text of the start.
  const auto boxes = surface.OperationsOf(RecordingSurface::Kind::FilledBox);
  ASSERT_FALSE(boxes.empty());
  EXPECT_FLOAT_EQ(boxes.back().x2 - boxes.back().x1,
                  surface.TextWidth("Simulation Time (Hours):02:00 2-April-97"));
  EXPECT_FLOAT_EQ(boxes.back().x1, surface.ScaleLeft());
  EXPECT_NEAR(boxes.back().y1, surface.ScaleTop() - 0.9f * std::fabs(surface.ScaleHeight()), 1e-3);
  EXPECT_EQ(boxes.back().colour, PaletteColour(kLightGrey));
  EXPECT_EQ(surface.PrintedTexts().back(), "Simulation Time:02:00 2-April-97");
  for (int s = 2; s <= 82; ++s) ASSERT_TRUE(run.Step().ok());
  const auto& ops = surface.Operations();
  const std::size_t clear = LastClear(ops);
  // After the frame change of step 82: 81 history segments and the new one.
  EXPECT_EQ(CountRedLines(ops, clear), 82);
  // Order after the clear: map and vectors, the green marker, the red
  // tracks, the grey box and the label in the vectors' dark blue.
  std::size_t circle = 0, firstRed = 0, box = 0, print = 0;
  for (std::size_t i = clear; i < ops.size(); ++i) {
    if (ops[i].kind == RecordingSurface::Kind::Circle && !circle) circle = i;
    if (ops[i].kind == RecordingSurface::Kind::Line && ops[i].state.foreColor == PaletteColour(kLightRed) &&
        !firstRed)
      firstRed = i;
    if (ops[i].kind == RecordingSurface::Kind::FilledBox) box = i;
    if (ops[i].kind == RecordingSurface::Kind::Print) print = i;
  }
  ASSERT_GT(circle, clear);
  EXPECT_EQ(ops[circle].colour, PaletteColour(kGreen));
  EXPECT_EQ(ops[circle].state.fillStyle, FillStyle::Solid);
  EXPECT_NEAR(ops[circle].radius, 0.008f * surface.ScaleWidth(), 1e-5);
  EXPECT_GT(firstRed, circle);
  EXPECT_GT(box, firstRed);
  EXPECT_GT(print, box);
  EXPECT_EQ(ops[print].state.foreColor, PaletteColour(kBlue));
  const std::size_t clears = surface.OperationsOf(RecordingSurface::Kind::Clear).size();
  ASSERT_TRUE(run.Step().ok());  // step 83 reuses frame 82: no redraw
  EXPECT_EQ(surface.OperationsOf(RecordingSurface::Kind::Clear).size(), clears);
}

TEST(Runs, MoveTheWholeParticlesOfAFractionalCountDrawingTwoDeviatesEach) {
  ModelState state = TestLakeState();
  state.ParticleCount = 12.7;
  // A strong current: many moves are sent back, and still draw only two.
  state.FlowFileName = test::WriteUniformFlow(
                           "strong", state.NodeCount, 84, [](int) { return 1.0f; }, [](int) { return 0.3f; })
                           .string();
  test::NullSurface surface;
  DrawnRun drawn(state, surface, 3);
  ASSERT_TRUE(RunSimulation(drawn.run, [] { return true; }).ok());
  EXPECT_EQ(drawn.run.ParticlesMoved(), 12);
  EXPECT_EQ(drawn.run.RandomDraws(), 2u * 12u * 83u);
  ParallelRun parallel(state, 3, 2);
  ASSERT_TRUE(parallel.Start().ok());
  EXPECT_EQ(parallel.ParticleCount(), 12);
  EXPECT_EQ(parallel.ReleaseElement(), ReleaseElement(state));
  for (std::size_t i = 0; i < 12; ++i) {
    EXPECT_EQ(parallel.X()[i], 3000.0);
    EXPECT_EQ(parallel.Y()[i], 1000.0f);
    EXPECT_EQ(parallel.Elements()[i], parallel.ReleaseElement());
  }
}

// Every track level of every particle, as a run hands them out.
struct Levels {
  std::vector<std::vector<double>> x;
  std::vector<std::vector<float>> y;
};

Levels ReferenceLevels(ModelState state, uint64_t seed) {
  test::NullSurface surface;
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

// The headless run's levels, with the hours it gives the last one.
Levels HeadlessLevels(ModelState state, uint64_t seed) {
  HeadlessRun run(state, seed);
  Levels levels;
  Status s = run.Start();
  for (bool more = true; s.ok() && more; more = run.HasNextStep() && (s = run.Step()).ok()) {
    levels.x.emplace_back(run.X()), levels.y.emplace_back(run.Y());
  }
  EXPECT_TRUE(s.ok()) << s.message();
  EXPECT_DOUBLE_EQ(run.HoursOfLevel(run.Level()), 166.0);
  return levels;
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

TEST(ParallelRun, WithoutDiffusionGivesTheDesktopPositionsExactly) {
  // With K = 0 the desktop run's draws are multiplied by 0, so both runs
  // are the deterministic particle step, though the parallel run keeps an
  // element per particle; the gyre carries the particles across elements
  // and into the shore.
  ModelState state = TestLakeState();
  state.DiffusionCoef = 0;
  state.ParticleCount = 23;
  state.FlowFileName = WriteGyreFlow(state, "exact").string();
  const Levels reference = ReferenceLevels(state, 9);
  ExpectSameTracks(ParallelLevels(state, 4, 2), reference);
  // The track was sent back by the shore somewhere: its mirror was off the water.
  const ShoreIndex shore = ShoreIndex::ForMetres(state);
  int reflected = 0;
  for (std::size_t k = 0; k + 1 < reference.x.size(); ++k)
    reflected += shore.Contains(2 * reference.x[k][0] - reference.x[k + 1][0],
                                2 * static_cast<double>(reference.y[k][0]) - reference.y[k + 1][0]) == 0;
  EXPECT_GT(reflected, 0);
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
  // cross elements and meet the shore and the island. The desktop (and headless) run's
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
    int threads;  // 0: the desktop run, −1: the headless run
    uint64_t expected;
  };
  for (const Case& c :
       {Case{"desktop", 0, 0x2b6cbde8d261895eull}, Case{"headless", -1, 0x2b6cbde8d261895eull},
        Case{"threaded", 1, 0x48b6279a19b08c72ull}, Case{"threaded", 2, 0x48b6279a19b08c72ull}}) {
    const Levels levels = c.threads == 0  ? ReferenceLevels(state, kSeed)
                          : c.threads < 0 ? HeadlessLevels(state, kSeed)
                                          : ParallelLevels(state, kSeed, c.threads);
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

TEST(ParallelRun, HoldsFewerThanOneHundredBytesPerParticle) {
  ModelState state = TestLakeState();
  state.ParticleCount = 100000;
  ParallelRun run(state, 3, 2);
  ASSERT_TRUE(run.Start().ok());
  ASSERT_TRUE(run.Step().ok());
  EXPECT_LT(run.HeldBytes(), 100u * 100000u);
  EXPECT_GE(run.HeldBytes(), ParallelRun::kBytesPerParticle * 100000u);
}

}  // namespace
}  // namespace lakedrift
