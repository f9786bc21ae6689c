#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "sim/HeadlessRun.h"
#include "sim/ParallelRun.h"
#include "sim/RunFixture.h"
#include "sim/SimulationRun.h"
#include "view/FlowAnimation.h"
#include "view/RunPicture.h"

namespace lakedrift {
namespace {

using test::TestLakeState;

// What a runner holds when it has ended or done the steps asked for: the
// positions (the animation: the node velocities) of the last level taken.
struct Outcome {
  Status status = Status::Ok();
  int done = 0;  // steps done; frames shown by the animation
  std::vector<double> x;
  std::vector<float> y;
};

// Runs at most `steps` steps, stopping at the first failure.
using Runner = std::function<Outcome(ModelState&, int steps)>;

// Start, then Step while steps remain, for any run with that interface.
template <typename Run>
Status Advance(Run& run, int steps) {
  if (Status s = run.Start(); !s.ok()) return s;
  for (int k = 0; k < steps && run.HasNextStep(); ++k)
    if (Status s = run.Step(); !s.ok()) return s;
  return Status::Ok();
}

Outcome Desktop(ModelState& state, int steps) {
  test::NullSurface surface;
  DrawnRun drawn(state, surface, 5);
  SimulationRun& run = drawn.run;
  Outcome o{Advance(run, steps), run.StepsDone(), {}, {}};
  for (int p = 1; p <= run.ParticlesMoved(); ++p)
    o.x.push_back(run.TrackX(p, o.done + 1)), o.y.push_back(run.TrackY(p, o.done + 1));
  return o;
}

Outcome Headless(ModelState& state, int steps) {
  HeadlessRun run(state, 5);
  Outcome o{Advance(run, steps), run.StepsDone(), {}, {}};
  o.x = run.X(), o.y = run.Y();
  return o;
}

Outcome Parallel(ModelState& state, int steps) {
  ParallelRun run(state, 5, 2);
  Outcome o{Advance(run, steps), run.StepsDone(), {}, {}};
  o.x.assign(run.X().begin(), run.X().end()), o.y.assign(run.Y().begin(), run.Y().end());
  return o;
}

Outcome Animation(ModelState& state, int frames) {
  test::NullSurface surface;
  state.FrameCount = static_cast<int16_t>(frames);
  state.FramePeriod = 1.0f;
  FlowAnimation animation(state, surface);
  Outcome o;
  o.status = animation.Start();
  while (o.status.ok() && animation.HasNextFrame()) o.status = animation.ShowNextFrame();
  o.done = animation.FramesShown();
  for (int n = 1; n <= state.NodeU.Count(); ++n) o.x.push_back(state.NodeU(n)), o.y.push_back(state.NodeV(n));
  return o;
}

struct Engine {
  const char* name;
  Runner run;
};

const Engine kEngines[] = {{"Desktop", Desktop}, {"Headless", Headless}, {"Parallel", Parallel}};

std::string EngineName(const testing::TestParamInfo<Engine>& row) { return row.param.name; }

// The moving engines share one particle step; each must reproduce it.
class ParticleStepTest : public testing::TestWithParam<Engine> {
 protected:
  // The positions of one particle released at (x, y) km in a current that
  // is the same in every frame, before and after one step without diffusion.
  std::pair<Outcome, Outcome> OneStep(double x, double y, const std::function<float(int)>& u,
                                      const std::function<float(int)>& v, const std::string& flowName) {
    ModelState state = TestLakeState();
    state.DiffusionCoef = 0;
    state.ParticleCount = 1;
    state.ReleaseX = x, state.ReleaseY = static_cast<float>(y);
    state.FlowFileName = test::WriteFlow(
                             flowName, state.NodeCount, 3, [&u](int, int n) { return u(n); },
                             [&v](int, int n) { return v(n); })
                             .string();
    ModelState again = state;
    return {GetParam().run(state, 0), GetParam().run(again, 1)};
  }
};

// Faults: a swapped shape coefficient, the wrong node order, u and v crossed.
TEST_P(ParticleStepTest, LinearCurrentIsInterpolatedExactly) {
  // u = a + b·x + c·y, v = d + e·x + f·y (x, y in metres) on the nodes.
  constexpr double a = 0.01, b = 2e-6, c = -1e-6, d = -0.005, e = 1.5e-6, f = 0.5e-6;
  constexpr double kDt = 7200, kTolerance = 2e-3;  // m: y is held in single precision
  const ModelState lake = TestLakeState();
  auto u = [&lake](int n) {
    return static_cast<float>(a + b * lake.NodeXMetres(n) + c * lake.NodeYMetres(n));
  };
  auto v = [&lake](int n) {
    return static_cast<float>(d + e * lake.NodeXMetres(n) + f * lake.NodeYMetres(n));
  };
  // Off the elements' centroids, where every node would weigh alike.
  const double points[][2] = {{1.3, 0.7}, {8.7, 3.1}, {3.3, 7.9}, {6.6, 4.4}, {2.2, 9.1}, {4.7, 2.5}};
  for (const auto& p : points) {
    SCOPED_TRACE(testing::Message() << "released at " << p[0] << ", " << p[1] << " km");
    const auto [start, end] = OneStep(p[0], p[1], u, v, "linear");
    ASSERT_TRUE(end.status.ok()) << end.status.message();
    const double x = start.x[0], y = start.y[0];
    EXPECT_NEAR(end.x[0], x + kDt * (a + b * x + c * y), kTolerance);
    EXPECT_NEAR(end.y[0], y + kDt * (d + e * x + f * y), kTolerance);
  }
}

// Faults: only x sent back, only y sent back, a sign error in either.
TEST_P(ParticleStepTest, MoveOffTheWaterEndsAtTheMirroredPointExactly) {
  // The move sent back ends, to the bit, where the reversed current takes
  // the particle: x − dx, y − dy.
  struct Row {
    const char* where;
    double x, y;  // km
    float u, v;   // m/s; 7200 m a step at 1 m/s
  };
  const Row rows[] = {{"east shore", 9.5, 3.0, 0.1f, 0.05f},
                      {"north shore", 3.0, 9.6, -0.04f, 0.1f},
                      {"west shore", 0.4, 6.0, -0.1f, 0.02f},
                      {"island corner", 3.7, 3.7, 0.06f, 0.06f},
                      {"island side", 3.8, 5.0, 0.05f, -0.03f}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.where);
    const auto [start, sentBack] = OneStep(
        row.x, row.y, [&row](int) { return row.u; }, [&row](int) { return row.v; }, "out");
    const auto [unused, reversed] = OneStep(
        row.x, row.y, [&row](int) { return -row.u; }, [&row](int) { return -row.v; }, "back");
    ASSERT_TRUE(sentBack.status.ok() && reversed.status.ok());
    ASSERT_NE(reversed.x[0], start.x[0]);
    ASSERT_NE(reversed.y[0], start.y[0]);
    EXPECT_EQ(sentBack.x[0], reversed.x[0]);
    EXPECT_EQ(sentBack.y[0], reversed.y[0]);
  }
}

INSTANTIATE_TEST_SUITE_P(Engines, ParticleStepTest, testing::ValuesIn(kEngines), EngineName);

// A missing or damaged flow file ends every runner with a message naming
// file and frame, and what it had done so far is kept.
class FlowFileFaultTest : public testing::TestWithParam<Engine> {};

TEST_P(FlowFileFaultTest, MissingFileEndsTheRunAtTheStartNamingIt) {
  ModelState state = TestLakeState();
  state.FlowFileName =
      (test::FreshOutputDir(std::string("missing_") + GetParam().name) / "tanws.fld").string();
  const ModelState before = state;
  const Outcome o = GetParam().run(state, 83);
  EXPECT_EQ(o.status.kind(), ErrorKind::FileMissing);
  EXPECT_NE(o.status.message().find("tanws.fld"), std::string::npos) << o.status.message();
  EXPECT_EQ(o.done, 0);
  EXPECT_EQ(state.NodeU, before.NodeU);  // nothing taken
}

TEST_P(FlowFileFaultTest, CutFileEndsTheRunAtTheFrameItLacksKeepingTheLevelsBefore) {
  ModelState state = TestLakeState();
  const auto cut = test::FreshOutputDir(std::string("cut_") + GetParam().name) / "cut.fld";
  std::filesystem::copy_file(test::TestDataPath("testlake.fld"), cut);
  std::filesystem::resize_file(cut, 3 * 2 * 4 * state.NodeCount + 10);  // three frames and a bit
  state.FlowFileName = cut.string();
  const Outcome damaged = GetParam().run(state, 83);
  EXPECT_EQ(damaged.status.kind(), ErrorKind::ShortFile);
  EXPECT_NE(damaged.status.message().find("cut.fld"), std::string::npos) << damaged.status.message();
  EXPECT_NE(damaged.status.message().find("frame 3"), std::string::npos) << damaged.status.message();
  // The runs move with frames 1 and 2; the animation showed frames 0 to 2.
  const bool animation = std::string(GetParam().name) == "Animation";
  EXPECT_EQ(damaged.done, animation ? 3 : 2);
  // What is kept is what the whole file gives up to there.
  ModelState whole = TestLakeState();
  const Outcome good = GetParam().run(whole, damaged.done);
  ASSERT_TRUE(good.status.ok());
  EXPECT_EQ(damaged.x, good.x);
  EXPECT_EQ(damaged.y, good.y);
}

const Engine kRunners[] = {
    {"Desktop", Desktop}, {"Headless", Headless}, {"Parallel", Parallel}, {"Animation", Animation}};

INSTANTIATE_TEST_SUITE_P(Runners, FlowFileFaultTest, testing::ValuesIn(kRunners), EngineName);

}  // namespace
}  // namespace lakedrift
