#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <filesystem>
#include <functional>
#include <span>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "model/GeometryReader.h"
#include "model/ShoreIndex.h"
#include "sim/HeadlessRun.h"
#include "sim/ParallelRun.h"
#include "sim/RunFixture.h"
#include "sim/SimulationRun.h"
#include "view/FlowAnimation.h"
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

// Start, then Step while steps remain, taking each level, for the runs
// that hand out their positions.
template <typename Run>
Outcome Advance(Run& run, int steps) {
  Outcome o{run.Start()};
  if (o.status.ok()) o.Take(run.X(), run.Y());
  for (int k = 0; o.status.ok() && k < steps && run.HasNextStep(); ++k)
    if ((o.status = run.Step()).ok()) o.Take(run.X(), run.Y());
  o.done = run.StepsDone();
  return o;
}

Outcome Desktop(ModelState& state, uint64_t seed, int steps) {
  test::NullSurface surface;
  DrawnRun drawn(state, surface, seed);
  SimulationRun& run = drawn.run;
  Outcome o{run.Start()};
  for (int k = 0; o.status.ok() && k < steps && run.HasNextStep(); ++k) o.status = run.Step();
  o.done = run.StepsDone();
  for (int level = 1; run.Started() && level <= o.done + 1; ++level) {
    o.x.emplace_back(), o.y.emplace_back();
    for (int p = 1; p <= run.ParticlesMoved(); ++p)
      o.x.back().push_back(run.TrackX(p, level)), o.y.back().push_back(run.TrackY(p, level));
  }
  return o;
}

Outcome Headless(ModelState& state, uint64_t seed, int steps) {
  HeadlessRun run(state, seed);
  Outcome o = Advance(run, steps);
  EXPECT_DOUBLE_EQ(run.HoursOfLevel(run.Level()), 2.0 * o.done);  // two-hour steps
  return o;
}

Runner Parallel(int threads) {
  return [threads](ModelState& state, uint64_t seed, int steps) {
    ParallelRun run(state, seed, threads);
    return Advance(run, steps);
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
  struct Row {
    const char* where;
    double x, y;  // km
    float u, v;   // m/s; 7.2 km a step at 1 m/s
    bool stays;
  };
  // clang-format off
  const Row rows[] = {{"east shore", 9.5, 3.0, 0.1f, 0.05f, false},    {"north shore", 3.0, 9.6, -0.04f, 0.1f, false},
                      {"west shore", 0.4, 6.0, -0.1f, 0.02f, false},   {"island corner", 3.7, 3.7, 0.06f, 0.06f, false},
                      {"island side", 3.8, 5.0, 0.05f, -0.03f, false}, {"land both ways", 3.0, 5.0, 1.0f, 0.1f, true}};
  // clang-format on
  auto Uniform = [](float c) -> Flow { return [c](int, int) { return c; }; };
  for (const Row& r : rows) {
    const auto out = OneStep(r.x, r.y, Uniform(r.u), Uniform(r.v), "out");
    const auto back = OneStep(r.x, r.y, Uniform(-r.u), Uniform(-r.v), "back");
    ASSERT_EQ(r.stays, back[1].first == back[0].first) << r.where;
    EXPECT_EQ(out[1], back[r.stays ? 0 : 1]) << r.where;  // where the particle must be after the step
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
  auto u = [](int k) { return k % 2 ? 0.06f : -0.04f; };
  auto v = [](int k) { return k < 40 ? -0.08f : 0.05f; };
  state.FlowFileName = test::WriteUniformFlow("crooked", state.NodeCount, 84, u, v).string();
  const Outcome o = GetParam().run(state, 17, 83);
  ASSERT_EQ(o.x.size(), 84u) << o.status.message();
  const ShoreIndex shore = ShoreIndex::ForMetres(state);
  long offWater = 0, stayed = 0;
  for (std::size_t level = 0; level < o.x.size(); ++level)
    for (std::size_t p = 0; p < 400; ++p) {
      offWater += shore.Contains(o.x[level][p], o.y[level][p]) == 0;
      if (level > 0) stayed += o.x[level][p] == o.x[level - 1][p] && o.y[level][p] == o.y[level - 1][p];
    }
  EXPECT_EQ(offWater, 0);
  EXPECT_GT(stayed, 0);  // the coast is crooked enough that both ways were land
}

INSTANTIATE_TEST_SUITE_P(Engines, ParticleStepTest, testing::ValuesIn(kEngines), EngineName);

// FNV-1a over the bits of the last level's positions, x then y, particle
// by particle: any change in any position changes it.
uint64_t HashOfLastLevel(const Outcome& o) {
  constexpr uint64_t kOffsetBasis = 0xcbf29ce484222325ull, kPrime = 0x100000001b3ull;
  uint64_t hash = kOffsetBasis;
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
  ModelState state = TestLakeState();
  state.ParticleCount = 300, state.DiffusionCoef = 5.0;
  constexpr uint64_t kSeed = 20261207, kDesktop = 0x2b6cbde8d261895eull, kThreaded = 0xad28f5552aa59563ull;
  // clang-format off
  const std::pair<Engine, uint64_t> rows[] = {{{"desktop", Desktop}, kDesktop}, {{"headless", Headless}, kDesktop},
      {{"one thread", Parallel(1)}, kThreaded}, {{"two threads", Parallel(2)}, kThreaded}, {{"three threads", Parallel(3)}, kThreaded}};
  // clang-format on
  for (const auto& [engine, expected] : rows) {
    ModelState copy = state;
    const Outcome o = engine.run(copy, kSeed, 83);
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
  auto expectSame = [](const auto& a, const auto& b, const char* what) {
    const auto ma = Moments(a), mb = Moments(b);
    for (int k : {0, 1})  // mean, variance
      EXPECT_LT(std::fabs(ma[k].first - mb[k].first), 5 * std::hypot(ma[k].second, mb[k].second))
          << (k ? "variance of " : "mean of ") << what;
  };
  for (std::size_t level : {10u, 83u})
    expectSame(parallel.x[level], desktop.x[level], "x"),
        expectSame(parallel.y[level], desktop.y[level], "y");
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
  const std::string name = GetParam().name;
  const auto folder = test::FreshOutputDir("flow_fault_" + name);
  ModelState state = TestLakeState();
  state.FlowFileName = (folder / "tanws.fld").string();
  const ModelState before = state;
  const Outcome missing = GetParam().run(state, 5, 83);
  EXPECT_EQ(missing.status.kind(), ErrorKind::FileMissing);
  EXPECT_NE(missing.status.message().find("tanws.fld"), std::string::npos) << missing.status.message();
  EXPECT_EQ(missing.done, 0) << "a run went on without its file";
  EXPECT_EQ(state.NodeU, before.NodeU) << "a missing file gave velocities";
  // Three frames and a bit.
  std::filesystem::copy_file(test::TestDataPath("testlake.fld"), folder / "cut.fld");
  std::filesystem::resize_file(folder / "cut.fld", 3 * 2 * 4 * state.NodeCount + 10);
  state.FlowFileName = (folder / "cut.fld").string();
  const Outcome cut = GetParam().run(state, 5, 83);
  EXPECT_EQ(cut.status.kind(), ErrorKind::ShortFile);
  for (const char* named : {"cut.fld", "frame 3"})
    EXPECT_NE(cut.status.message().find(named), std::string::npos) << cut.status.message();
  // The runs move with frames 1 and 2; the animation showed frames 0 to 2.
  EXPECT_EQ(cut.done, name == "Animation" ? 3 : 2);
  // What is kept is what the whole file gives up to there.
  ModelState whole = TestLakeState();
  const Outcome good = GetParam().run(whole, 5, cut.done);
  EXPECT_TRUE(good.status.ok() && cut.x == good.x && cut.y == good.y) << "the levels before the cut differ";
}

const Engine kRunners[] = {
    {"Desktop", Desktop}, {"Headless", Headless}, {"Parallel", Parallel(2)}, {"Animation", Animation}};
INSTANTIATE_TEST_SUITE_P(Runners, FlowFileFaultTest, testing::ValuesIn(kRunners), EngineName);

}  // namespace
}  // namespace lakedrift
