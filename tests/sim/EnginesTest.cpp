#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <filesystem>
#include <functional>
#include <regex>
#include <span>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "model/GeometryReader.h"
#include "model/ShoreIndex.h"
#include "sim/CounterRandom.h"
#include "sim/ElementLocation.h"
#include "sim/GaussianRandom.h"
#include "sim/HeadlessRun.h"
#include "sim/ParallelRun.h"
#include "sim/RunFixture.h"
#include "sim/SimulationRun.h"
#include "view/FlowAnimation.h"
#include "view/RecordingSurface.h"
#include "view/RunPicture.h"

namespace lakedrift {
namespace {

using test::TestLakeState;

// Every level a runner took (1 the release, s + 1 after step s; the
// animation: the node velocities of each frame shown), and how it ended.
struct Outcome {
  explicit Outcome(Status started) : status(std::move(started)) {}
  Status status;
  int done = 0;  // steps done; frames shown by the animation
  std::vector<std::vector<double>> x;
  std::vector<std::vector<float>> y;
  void Take(const auto& xs, std::span<const float> ys) {
    x.emplace_back(xs.begin(), xs.end()), y.emplace_back(ys.begin(), ys.end());
  }
};

// Runs at most `steps` steps with a seed, stopping at the first failure.
using Runner = std::function<Outcome(ModelState&, uint64_t seed, int steps)>;

// Start, then Step while steps remain, `take` taking each level.
template <typename Run, typename Take>
Outcome Advance(Run& run, int steps, Take take) {
  Outcome o{run.Start()};
  for (int k = 0; o.status.ok(); o.status = run.Step()) {
    take(o);
    if (k++ == steps || !run.HasNextStep()) break;
  }
  o.done = run.StepsDone();
  return o;
}

Outcome Desktop(ModelState& state, uint64_t seed, int steps) {
  test::NullSurface surface;
  DrawnRun drawn(state, surface, seed);
  return Advance(drawn.run, steps, [&run = drawn.run](Outcome& o) {
    std::vector<double> x;
    std::vector<float> y;
    for (int p = 1; p <= run.ParticlesMoved(); ++p)
      x.push_back(run.TrackX(p, run.StepsDone() + 1)), y.push_back(run.TrackY(p, run.StepsDone() + 1));
    o.Take(x, y);
  });
}

Outcome Headless(ModelState& state, uint64_t seed, int steps) {
  HeadlessRun run(state, seed);
  return Advance(run, steps, [&run](Outcome& out) { out.Take(run.X(), run.Y()); });
}

Runner Parallel(int threads) {
  return [threads](ModelState& state, uint64_t seed, int steps) {
    ParallelRun run(state, seed, threads);
    return Advance(run, steps, [&run](Outcome& out) { out.Take(run.X(), run.Y()); });
  };
}

Outcome Animation(ModelState& state, uint64_t, int frames) {
  test::NullSurface surface;
  state.FrameCount = static_cast<int16_t>(frames);
  FlowAnimation animation(state, surface);
  Outcome o{animation.Start()};
  while (o.status.ok() && animation.HasNextFrame())
    if ((o.status = animation.ShowNextFrame()).ok()) o.Take(state.NodeU.Vector(), state.NodeV.Vector());
  o.done = animation.FramesShown();
  return o;
}

struct Engine {
  const char* name;
  Runner run;
};

void PrintTo(const Engine& engine, std::ostream* out) { *out << engine.name; }
std::string EngineName(const testing::TestParamInfo<Engine>& row) { return row.param.name; }

// The engines that move particles; they share one particle step.
const Engine kEngines[] = {{"Desktop", Desktop}, {"Headless", Headless}, {"Parallel", Parallel(2)}};

class ParticleStepTest : public testing::TestWithParam<Engine> {
 protected:
  // (x, y) at the release and after one step without diffusion of a particle
  // released at (x, y) km, node n of frame k having (u(k, n), v(k, n)).
  using Flow = std::function<float(int, int)>;
  std::array<std::pair<double, double>, 2> OneStep(double x, double y, const Flow& u, const Flow& v,
                                                   const std::string& flowName) {
    ModelState state = TestLakeState();
    state.DiffusionCoef = 0, state.ParticleCount = 1;
    state.ReleaseX = x, state.ReleaseY = static_cast<float>(y);
    state.FlowFileName = test::WriteFlow(flowName, state.NodeCount, 3, u, v).string();
    const Outcome o = GetParam().run(state, 1, 1);
    EXPECT_TRUE(o.status.ok() && o.x.size() == 2) << o.status.message();
    return {{{o.x.at(0)[0], o.y.at(0)[0]}, {o.x.at(1)[0], o.y.at(1)[0]}}};
  }
};

// Faults: a swapped shape coefficient, the wrong node order, u and v crossed.
TEST_P(ParticleStepTest, LinearCurrentIsInterpolatedExactly) {
  // u = a + b·x + c·y, v = d + e·x + f·y (x, y in metres) on the nodes.
  constexpr double a = 0.01, b = 2e-6, c = -1e-6, d = -0.005, e = 1.5e-6, f = 0.5e-6;
  constexpr double kDt = 7200, kTolerance = 2e-3;  // m: y is held in single precision
  const ModelState lake = TestLakeState();
  auto linear = [&lake](double p, double q, double r) -> Flow {
    return [&lake, p, q, r](int, int n) {
      return static_cast<float>(p + q * lake.NodeXMetres(n) + r * lake.NodeYMetres(n));
    };
  };
  // Off the elements' centroids, where every node would weigh alike.
  const double points[][2] = {{1.3, 0.7}, {8.7, 3.1}, {3.3, 7.9}, {6.6, 4.4}, {2.2, 9.1}, {4.7, 2.5}};
  for (const auto& p : points) {
    SCOPED_TRACE(testing::Message() << "released at " << p[0] << ", " << p[1] << " km");
    const auto [start, end] = OneStep(p[0], p[1], linear(a, b, c), linear(d, e, f), "linear");
    const auto [x, y] = start;
    EXPECT_NEAR(end.first, x + kDt * (a + b * x + c * y), kTolerance);
    EXPECT_NEAR(end.second, y + kDt * (d + e * x + f * y), kTolerance);
  }
}

// Faults: only x sent back, only y sent back, sent back by the wrong
// amount, a move onto land kept.
TEST_P(ParticleStepTest, MoveOffTheWaterEndsAtTheMirroredPointExactly) {
  // The move sent back ends, to the bit, where the reversed current takes
  // the particle: x − dx, y − dy. Where that is land too, it stays.
  // Where, x and y in km, u and v in m/s (7.2 km a step at 1 m/s), whether it stays.
  // clang-format off
  const std::tuple<const char*, double, double, float, float, bool> rows[] = {
      {"east shore", 9.5, 3.0, 0.1f, 0.05f, false},    {"north shore", 3.0, 9.6, -0.04f, 0.1f, false},
      {"west shore", 0.4, 6.0, -0.1f, 0.02f, false},   {"island corner", 3.7, 3.7, 0.06f, 0.06f, false},
      {"island side", 3.8, 5.0, 0.05f, -0.03f, false}, {"land both ways", 3.0, 5.0, 1.0f, 0.1f, true}};
  // clang-format on
  auto Uniform = [](float c) -> Flow { return [c](int, int) { return c; }; };
  for (const auto& [where, x, y, u, v, stays] : rows) {
    const auto out = OneStep(x, y, Uniform(u), Uniform(v), "out");
    const auto back = OneStep(x, y, Uniform(-u), Uniform(-v), "back");
    ASSERT_EQ(stays, back[1].first == back[0].first) << where;
    EXPECT_EQ(out[1], back[stays ? 0 : 1]) << where;  // where the particle must be after the step
  }
}

// A lake with a crooked shore on a mesh of 1 km squares over 0..20 × 0..30
// km: a thin peninsula (0.4 km) reaching in from the east at y = 10 km and a
// narrow bay (0.4 km) running north from the main water at x = 9..9.4 km.
// The mesh covers land too; only the coast ring decides what is water.
ModelState CrookedLakeState() {
  constexpr int kColumns = 20, kRows = 30;
  // clang-format off
  const std::vector<std::pair<double, double>> ring = {{1, 1}, {19, 1}, {19, 10}, {6, 10}, {6, 10.4}, {19, 10.4},
                                                       {19, 19}, {9.4, 19}, {9.4, 28}, {9, 28}, {9, 19}, {1, 19}};
  // clang-format on
  auto node = [](int i, int j) { return j * (kColumns + 1) + i + 1; };
  auto element = [](int i, int j, int half) { return 2 * (j * kColumns + i) + half + 1; };
  std::ostringstream text;
  auto line = [&text](auto... items) { ((text << items << ' '), ...), text << '\n'; };
  line(1), line(ring.size()), line((kColumns + 1) * (kRows + 1), 2 * kColumns * kRows, 3, ring.size());
  for (int j = 0; j < kRows; ++j)
    for (int i = 0; i < kColumns; ++i) {
      // Lower-right (a, b, c) and upper-left (a, c, d) triangles, counter-clockwise.
      const int lower = element(i, j, 0), upper = element(i, j, 1);
      const int below = j > 0 ? element(i, j - 1, 1) : 0, right = i + 1 < kColumns ? element(i + 1, j, 1) : 0;
      const int above = j + 1 < kRows ? element(i, j + 1, 0) : 0, left = i > 0 ? element(i - 1, j, 0) : 0;
      line(lower, node(i, j), node(i + 1, j), node(i + 1, j + 1), below, right, upper);
      line(upper, node(i, j), node(i + 1, j + 1), node(i, j + 1), lower, above, left);
    }
  for (int j = 0; j <= kRows; ++j)
    for (int i = 0; i <= kColumns; ++i) line(node(i, j), i, j);
  for (std::size_t b = 0; b < ring.size(); ++b) line(b + 1, 1, ring[b].first, ring[b].second);
  ModelState state = TestLakeState();
  const Status s = ReadGeometryText(state, text.str(), "crooked lake");
  EXPECT_TRUE(s.ok()) << s.message();
  return state;
}

// Faults: a point sent back onto land kept, a move across the peninsula's
// tip or out of the bay kept because its end is on the water's bounding box.
TEST_P(ParticleStepTest, NoPositionOnACrookedShoreEverLiesOffTheWater) {
  ModelState state = CrookedLakeState();
  state.ParticleCount = 400, state.DiffusionCoef = 10;  // 380 m a step and component: the bay is 400 m wide
  state.ReleaseX = 9.2, state.ReleaseY = 24.0f;
  // A current out of the bay and along the peninsula, turning with the frames.
  auto u = [](int k, int) { return k % 2 ? 0.06f : -0.04f; };
  auto v = [](int k, int) { return k < 40 ? -0.08f : 0.05f; };
  state.FlowFileName = test::WriteFlow("crooked", state.NodeCount, 84, u, v).string();
  const Outcome o = GetParam().run(state, 17, 83);
  ASSERT_EQ(o.x.size(), 84u) << o.status.message();
  const ShoreIndex shore = ShoreIndex::ForMetres(state);
  long offWater = 0;
  for (std::size_t level = 0; level < o.x.size(); ++level)
    for (std::size_t p = 0; p < 400; ++p) offWater += shore.Contains(o.x[level][p], o.y[level][p]) == 0;
  EXPECT_EQ(offWater, 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, ParticleStepTest, testing::ValuesIn(kEngines), EngineName);

// FNV-1a over the bits of the last level's positions, x then y, particle
// by particle: any change in any position changes it.
uint64_t HashOfLastLevel(const Outcome& o) {
  constexpr uint64_t kPrime = 0x100000001b3ull;
  uint64_t hash = 0xcbf29ce484222325ull;  // the offset basis
  auto mix = [&hash](uint64_t bits, int bytes) {
    for (int b = 0; b < bytes; ++b) hash = (hash ^ ((bits >> (8 * b)) & 0xFF)) * kPrime;
  };
  for (std::size_t p = 0; p < o.x.back().size(); ++p)
    mix(std::bit_cast<uint64_t>(o.x.back()[p]), 8), mix(std::bit_cast<uint32_t>(o.y.back()[p]), 4);
  return hash;
}

TEST(PinnedTracks, SeededRunsEndWhereTheyAlwaysHave) {
  // A seeded run on the committed test lake, wide diffusion so particles
  // cross elements and meet the shore and the island. The desktop (and
  // headless) run's positions (its shared walk start and one random
  // sequence) and the threaded run's (its own start and stream per
  // particle, any thread count, several chunks of particles) are pinned: a
  // change to the walk, the interpolation, the draws or the shore rule that
  // moves any particle by one bit fails here.
  constexpr uint64_t kSeed = 20261207, kDesktop = 0x2b6cbde8d261895eull, kThreaded = 0xad28f5552aa59563ull;
  // clang-format off
  const std::pair<Engine, uint64_t> rows[] = {{{"desktop", Desktop}, kDesktop}, {{"headless", Headless}, kDesktop},
      {{"one thread", Parallel(1)}, kThreaded}, {{"two threads", Parallel(2)}, kThreaded}, {{"three threads", Parallel(3)}, kThreaded}};
  // clang-format on
  for (const auto& [engine, expected] : rows) {
    ModelState state = TestLakeState();
    state.ParticleCount = 300, state.DiffusionCoef = 5.0;
    const Outcome o = engine.run(state, kSeed, 83);
    ASSERT_EQ(o.x.size(), 84u) << engine.name;
    EXPECT_EQ(HashOfLastLevel(o), expected) << engine.name;
  }
}

// The mean and variance of a sample, each with its standard error.
template <typename T>
std::array<std::pair<double, double>, 2> Moments(const std::vector<T>& values) {
  const auto n = static_cast<double>(values.size());
  double mean = 0, variance = 0, m4 = 0;
  for (T v : values) mean += v / n;
  for (T v : values) variance += (v - mean) * (v - mean) / n, m4 += std::pow(v - mean, 4) / n;
  // √((μ4 − σ⁴) / n) for the variance.
  return {{{mean, std::sqrt(variance / n)}, {variance, std::sqrt((m4 - variance * variance) / n)}}};
}

// Faults: the threaded run's walk wider or narrower than the desktop's, or
// drifting, while every position stays on the water.
TEST(ParallelRun, WithDiffusionTheCloudMatchesTheDesktopRunStatistically) {
  // 20 000 particles with the committed flow: at an early and at the last
  // level the clouds of the two runs are samples of one distribution, their
  // means and variances within five combined standard errors.
  ModelState state = TestLakeState();
  state.ParticleCount = 20000, state.DiffusionCoef = 0.1;
  ModelState copy = state;
  const Outcome desktop = Desktop(state, 12345, 83), parallel = Parallel(2)(copy, 54321, 83);
  for (std::size_t level : {10u, 83u})
    for (const auto& [a, b] : {std::pair(Moments(parallel.x[level]), Moments(desktop.x[level])),
                               std::pair(Moments(parallel.y[level]), Moments(desktop.y[level]))})
      for (int k : {0, 1})  // mean, variance
        EXPECT_LT(std::fabs(a[k].first - b[k].first), 5 * std::hypot(a[k].second, b[k].second))
            << "level " << level << (k ? ": variance" : ": mean");
  // The spread is the random walk's: √(2·K·Δt) ≈ 37.9 m per step and
  // component at the first step, before any particle reaches the shore.
  EXPECT_NEAR(std::sqrt(Moments(parallel.x[1])[1].first), std::sqrt(2 * 0.1 * 7200), 1.0);
}

// A missing or damaged flow file ends every runner with a message naming
// file and frame, and what it had done so far is kept.
class FlowFileFaultTest : public testing::TestWithParam<Engine> {};

// Faults: a missing file not reported or not named, its run going on; a
// short frame taken, the wrong frame named, the levels before lost.
TEST_P(FlowFileFaultTest, MissingOrCutFileEndsTheRunNamingFileAndFrameKeepingTheLevelsBefore) {
  const auto folder = test::FreshOutputDir(std::string("flow_fault_") + GetParam().name);
  ModelState state = TestLakeState();
  state.FlowFileName = (folder / "tanws.fld").string();
  const Outcome missing = GetParam().run(state, 5, 83);
  EXPECT_EQ(missing.status.kind(), ErrorKind::FileMissing);
  EXPECT_THAT(missing.status.message(), testing::HasSubstr("tanws.fld"));
  EXPECT_EQ(missing.done, 0) << "a run went on without its file";
  // Three frames and a bit.
  std::filesystem::copy_file(test::TestDataPath("testlake.fld"), folder / "cut.fld");
  std::filesystem::resize_file(folder / "cut.fld", 3 * 2 * 4 * state.NodeCount + 10);
  state.FlowFileName = (folder / "cut.fld").string();
  const Outcome cut = GetParam().run(state, 5, 83);
  EXPECT_EQ(cut.status.kind(), ErrorKind::ShortFile);
  EXPECT_THAT(cut.status.message(),
              testing::AllOf(testing::HasSubstr("cut.fld"), testing::HasSubstr("frame 3")));
  // The runs move with frames 1 and 2; the animation showed frames 0 to 2.
  EXPECT_EQ(cut.done, std::string(GetParam().name) == "Animation" ? 3 : 2);
  // What is kept is what the whole file gives up to there.
  ModelState whole = TestLakeState();
  const Outcome good = GetParam().run(whole, 5, cut.done);
  EXPECT_TRUE(good.status.ok() && cut.x == good.x && cut.y == good.y) << "the levels before the cut differ";
}

const Engine kRunners[] = {
    {"Desktop", Desktop}, {"Headless", Headless}, {"Parallel", Parallel(2)}, {"Animation", Animation}};
INSTANTIATE_TEST_SUITE_P(Runners, FlowFileFaultTest, testing::ValuesIn(kRunners), EngineName);

// The test lake's cells are 2 km squares; cell (i, j) holds elements
// 2c − 1 (lower right) and 2c, numbered row by row without the island cell.
// Faults: an edge or vertex not counted as inside, the orientation test
// reversed (a clockwise triangle would then hold its points).
TEST(PointInElement, InsideOnEdgeAndOutsideOfACounterClockwiseTriangle) {
  ModelState state;
  state.TriX(1) = 0, state.TriY(1) = 0, state.TriX(2) = 10, state.TriY(2) = 0, state.TriX(3) = 0,
  state.TriY(3) = 10;
  const double points[][3] = {{2, 2, 1}, {5, 0, 1}, {5, 5, 1}, {10, 0, 1}, {6, 6, 0}, {-1, 1, 0}};
  for (const auto& p : points) EXPECT_EQ(PointInElement(state, p[0], p[1]), p[2]) << p[0] << ", " << p[1];
  std::swap(state.TriX(2), state.TriX(3)), std::swap(state.TriY(2), state.TriY(3));
  EXPECT_EQ(PointInElement(state, 2, 2), 0);
}

// Faults: the release point's element taken from the walk's start, a point
// on a shared edge given to the higher element, no fallback off the water.
TEST(ReleaseElement, IsTheFirstElementHoldingTheReleasePoint) {
  ModelState state;
  ASSERT_TRUE(ReadGeometry(state, test::TestDataPath("testlake.inp")).ok());
  const double rows[][3] = {{1.5, 0.5, 1}, {0.5, 1.5, 2}, {1, 1, 1}, {3, 1, 3}, {5, 5, kFirstElement}};
  for (const auto& row : rows) {
    state.ReleaseX = row[0], state.ReleaseY = static_cast<float>(row[1]);
    EXPECT_EQ(ReleaseElement(state), static_cast<int>(row[2])) << row[0] << ", " << row[1];
  }
}

// Four triangles round a central node, one neighbour entry corrupt:
// element 4's edge 1 is shared with element 3 but names element 1, whose
// edge 1 leads back to element 4. A point in element 3 walked from element 1
// makes the plain walk go 1, 4, 1, 4, … for ever.
TEST(FindElement, CyclingWalkIsStoppedAndAnsweredByTheScan) {
  ModelState s;
  s.NodesPerElement = 3, s.NodeCount = 5, s.ElementCount = 4;
  s.NodeXMetres.Resize(5), s.NodeYMetres.Resize(5), s.ElemNode.Resize(3, 4), s.ElemNeighbour.Resize(3, 4);
  const double xs[] = {0, 10, 0, -10, 0}, ys[] = {0, 0, 10, 0, -10};
  for (int n = 1; n <= 5; ++n) s.NodeXMetres(n) = xs[n - 1], s.NodeYMetres(n) = ys[n - 1];
  // Element e = (centre, rim e, rim e + 1), counter-clockwise.
  for (int e = 1; e <= 4; ++e) {
    s.ElemNode(1, e) = 1, s.ElemNode(2, e) = e + 1, s.ElemNode(3, e) = e % 4 + 2;
    // Edge 1 borders element e − 1 (4 for element 1), but element 4's names element 1.
    s.ElemNeighbour(1, e) = static_cast<int16_t>(e == 1 ? 4 : e == 4 ? 1 : e - 1), s.ElemNeighbour(2, e) = 0;
    s.ElemNeighbour(3, e) = static_cast<int16_t>(e % 4 + 1);
  }
  // Started in the element that holds the point, no walk is needed.
  EXPECT_EQ(std::tuple(FindElement(s, -2, -2, 1), FindElement(s, -2, -2, 3)), std::tuple(3, 3));
}

// The random numbers.

constexpr uint64_t kStreamSeed = 0x0123456789ABCDEFull;

TEST(CounterRandom, PhiloxMatchesThePublishedKnownAnswers) {
  using B = CounterRandom::Block;
  using K = CounterRandom::Key;
  // clang-format off
  const std::tuple<B, K, B> rows[] = {
      {{0, 0, 0, 0}, {0, 0}, {0x6627e8d5, 0xe169c58d, 0xbc57ac4c, 0x9b00dbd8}},
      {{~0u, ~0u, ~0u, ~0u}, {~0u, ~0u}, {0x408f276d, 0x41c83b0e, 0xa20bc7c6, 0x6d5451fd}},
      {{0x243f6a88, 0x85a308d3, 0x13198a2e, 0x03707344}, {0xa4093822, 0x299f31d0}, {0xd16cfe09, 0x94fdcceb, 0x5001e420, 0x24126ea1}}};
  // clang-format on
  for (const auto& [counter, key, expected] : rows) EXPECT_EQ(CounterRandom::Philox(counter, key), expected);
}

// Faults: a lane given the wrong stream (also where the stream's low word
// wraps), the tail after the last eight dropped or misplaced, the pair
// number or the seed's high word ignored, the halves summed differently.
TEST(CounterRandom, SideBySideDrawsTheSameBitsAsOneByOne) {
  if (!CounterRandom::DrawsSideBySide()) GTEST_SKIP() << "this processor draws one stream at a time";
  constexpr std::size_t kStreams = 37;
  const std::tuple<uint64_t, uint64_t, uint64_t> rows[] = {
      {kStreamSeed, 1, 0}, {kStreamSeed, 0xFFFFFFF4ull, 82}, {~0ull, 1ull << 40, 1ull << 33}};
  for (const auto& [seed, firstStream, pair] : rows) {
    const CounterRandom random(seed);
    std::vector<float> a(kStreams), b(kStreams), c(kStreams), d(kStreams), one(1), other(1);
    random.Pairs(firstStream, pair, a, b), random.PairsOneByOne(firstStream, pair, c, d);
    random.Pairs(firstStream + 9, pair, one, other);  // a stream drawn alone is the same stream
    EXPECT_EQ(std::tuple(a, b, one[0], other[0]), std::tuple(c, d, a[9], b[9])) << firstStream;
  }
}

// Faults: a and b swapped or misapplied, a biased or too narrow sum,
// deviates beyond b ± 6a, neighbouring draws correlated.
// Expects `draw(a, b)` to give normal-like deviates with standard deviation
// a and mean b, draws k and k + 1 being neighbours as a run uses them.
void ExpectNormalLike(const char* generator, std::function<float(float, float)> draw, long draws) {
  SCOPED_TRACE(generator);
  constexpr float kA = 2.0f, kB = 10.0f;
  double sum = 0, sumSquares = 0, cross = 0, previous = 0, low = 0, high = 0;
  for (long i = 0; i < draws; ++i) {
    const double r = (draw(kA, kB) - kB) / kA;  // standardised
    sum += r, sumSquares += r * r, cross += r * previous;
    previous = r;
    low = std::min(low, r), high = std::max(high, r);
  }
  // Standard errors: mean and lag-one product 1/√n, variance about √(2/n); five of each.
  const auto n = static_cast<double>(draws);
  const double five = 5 / std::sqrt(n);
  EXPECT_NEAR(sum / n, 0.0, five);
  EXPECT_NEAR(sumSquares / n, 1.0, five * std::sqrt(2.0));
  EXPECT_NEAR(cross / n, 0.0, five);
  // Tails reached, and none beyond b ± 6a.
  EXPECT_TRUE(-6.0 <= low && low < -3.5 && 3.5 < high && high <= 6.0) << low << ", " << high;
}

TEST(RandomStatistics, DeviatesAreNormalLikeWithMeanBAndDeviationA) {
  constexpr long kDraws = 200000, kStreams = kDraws / 4;
  ExpectNormalLike("the desktop run's one sequence", GaussianRandom(12345), kDraws);
  // The parallel run's stream per particle, two pairs each, as a run draws
  // them: neighbours are the same deviate of neighbouring streams.
  std::vector<float> deviates(kDraws);  // pair 0's two quarters, then pair 1's
  for (uint64_t pair = 0; pair < 2; ++pair)
    CounterRandom(kStreamSeed)
        .Pairs(1, pair, std::span(deviates).subspan(2 * pair * kStreams, kStreams),
               std::span(deviates).subspan((2 * pair + 1) * kStreams, kStreams));
  ExpectNormalLike(
      "the parallel run's streams",
      [&deviates, k = std::size_t{0}](float a, float b) mutable { return deviates[k++] * a + b; }, kDraws);
}

TEST(DesktopRun, EndsAtTheLastTimeOfItsSeasonNeverLoweringMaxSpeed) {
  for (int season : {1, 2}) {
    ModelState state = TestLakeState();
    state.Season = static_cast<int16_t>(season), state.MaxSpeed = 5.0;  // larger than any speed in the file
    RecordingSurface surface(200, 200);
    DrawnRun drawn(state, surface, 7);
    ASSERT_TRUE(RunSimulation(drawn.run, [] { return true; }).ok());
    const std::string last =
        season == 1 ? "Simulation Time:22:00 8-April-97" : "Simulation Time:22:00 28-August-97";
    // Steps done, the label kept and shown, the maximum speed (never lowered).
    EXPECT_EQ(std::tuple(drawn.run.StepsDone(), drawn.run.LastLabel(), surface.PrintedTexts().back(),
                         state.MaxSpeed),
              std::tuple(83, last, last, 5.0));
  }
}

TEST(DesktopRun, PictureAfterAStepIsMapVectorsMarkerTracksLabel) {
  ModelState state = TestLakeState();
  state.ParticleCount = 1;
  RecordingSurface surface(200, 200);
  DrawnRun drawn(state, surface, 3);
  ASSERT_TRUE(drawn.run.Start().ok() && drawn.run.Step().ok());
  // The first label's box is sized by the longer text of the start (where
  // and how the label is drawn is the view's time label's, tested there).
  using Kind = RecordingSurface::Kind;
  const auto box = surface.OperationsOf(Kind::FilledBox).at(0);
  EXPECT_FLOAT_EQ(box.x2 - box.x1, surface.TextWidth("Simulation Time (Hours):02:00 2-April-97"));
  EXPECT_EQ(surface.PrintedTexts().back(), "Simulation Time:02:00 2-April-97");
  for (int s = 2; s <= 82; ++s) ASSERT_TRUE(drawn.run.Step().ok());
  // After the frame change of step 82, in order: map and vectors (lines and
  // their prints), the marker, the red tracks (81 history segments and the
  // new one), the grey box and the label.
  std::string kinds;  // since the last clear: c clear, l line, b box, o circle, p print, r red line
  for (const auto& op : surface.Operations()) {
    if (op.kind == Kind::Clear) kinds.clear();
    const bool red = op.kind == Kind::Line && op.state.foreColor == PaletteColour(kLightRed);
    kinds += red ? 'r' : "clbop"[static_cast<int>(op.kind)];
  }
  EXPECT_TRUE(std::regex_match(kinds, std::regex("c[lp]*or{82}bp"))) << kinds;
  const auto marker = surface.OperationsOf(Kind::Circle).back();  // green, solid, 0.008 of the width
  EXPECT_EQ(std::tuple(marker.colour, marker.state.fillStyle),
            std::tuple(PaletteColour(kGreen), FillStyle::Solid));
  EXPECT_NEAR(marker.radius, 0.008f * surface.ScaleWidth(), 1e-5);
  const std::size_t clears = surface.OperationsOf(Kind::Clear).size();
  ASSERT_TRUE(drawn.run.Step().ok());  // step 83 reuses frame 82: no redraw
  EXPECT_EQ(surface.OperationsOf(Kind::Clear).size(), clears);
}

TEST(Runs, MoveTheWholeParticlesOfAFractionalCountDrawingTwoDeviatesEach) {
  ModelState state = TestLakeState();
  state.ParticleCount = 12.7;
  // A strong current: many moves are sent back, and still draw only two.
  state.FlowFileName =
      test::WriteFlow(
          "strong", state.NodeCount, 84, [](int, int) { return 1.0f; }, [](int, int) { return 0.3f; })
          .string();
  test::NullSurface surface;
  DrawnRun drawn(state, surface, 3);
  ASSERT_TRUE(RunSimulation(drawn.run, [] { return true; }).ok());
  EXPECT_EQ(std::pair(drawn.run.ParticlesMoved(), drawn.run.RandomDraws()),
            std::pair(12, uint64_t{2 * 12 * 83}));
  ParallelRun parallel(state, 3, 2);
  ASSERT_TRUE(parallel.Start().ok());
  // All 12 at the release point, in its element.
  EXPECT_EQ(parallel.ReleaseElement(), ReleaseElement(state));
  EXPECT_EQ(std::tuple(std::vector(parallel.X().begin(), parallel.X().end()),
                       std::vector(parallel.Y().begin(), parallel.Y().end()),
                       std::vector(parallel.Elements().begin(), parallel.Elements().end())),
            std::tuple(std::vector(12, 3000.0), std::vector(12, 1000.0f),
                       std::vector(12, static_cast<int16_t>(parallel.ReleaseElement()))));
}

TEST(ParallelRun, HoldsFewerThanOneHundredBytesPerParticle) {
  ModelState state = TestLakeState();
  state.ParticleCount = 100000;
  ParallelRun run(state, 3, 2);
  ASSERT_TRUE(run.Start().ok() && run.Step().ok());
  // At least the positions and elements themselves: a count that says less is no count.
  EXPECT_TRUE(run.HeldBytes() >= ParallelRun::kBytesPerParticle * 100000u && run.HeldBytes() < 100u * 100000u)
      << run.HeldBytes();
}

}  // namespace
}  // namespace lakedrift
