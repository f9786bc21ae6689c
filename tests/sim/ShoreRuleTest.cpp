#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <vector>

#include "model/ShoreIndex.h"
#include "sim/HeadlessRun.h"
#include "sim/ParallelRun.h"
#include "sim/ParticleStepper.h"
#include "sim/RunFixture.h"

namespace lakedrift {
namespace {

using test::CrookedLakeState;

struct MoveCase {
  const char* name;
  double x, y, dx, dy;  // km
  double xEnd, yEnd;    // km, where the particle must end
};

class SettleMoveTest : public testing::TestWithParam<MoveCase> {};

// The shore's answer is exact: the move's end, the point sent back by the
// same displacement, or the start, each to the bit.
TEST_P(SettleMoveTest, EndsWhereTheShoreRuleSays) {
  const MoveCase& c = GetParam();
  const ModelState state = CrookedLakeState();
  const ShoreIndex shore = ShoreIndex::ForMetres(state);
  const double x = c.x * kMetresPerKm, y = c.y * kMetresPerKm;
  const double dx = c.dx * kMetresPerKm, dy = c.dy * kMetresPerKm;
  double xNew = 0, yNew = 0;
  SettleMove(shore, x, y, dx, dy, xNew, yNew);
  const double xWanted = c.xEnd == c.x + c.dx ? x + dx : c.xEnd == c.x - c.dx ? x - dx : x;
  const double yWanted = c.yEnd == c.y + c.dy ? y + dy : c.yEnd == c.y - c.dy ? y - dy : y;
  EXPECT_EQ(xNew, xWanted);
  EXPECT_EQ(yNew, yWanted);
}

INSTANTIATE_TEST_SUITE_P(
    CrookedShore, SettleMoveTest,
    testing::Values(MoveCase{"StaysOnTheWater", 5, 5, 1, 1.5, 6, 6.5},
                    MoveCase{"OffTheWestShoreIsSentBack", 2, 5, -1.5, 0.25, 3.5, 4.75},
                    MoveCase{"OntoThePeninsulaIsSentBack", 10, 9.75, 0.5, 0.5, 9.5, 9.25},
                    MoveCase{"HopOverThePeninsulaIsKept", 10, 9.75, 0.5, 1, 10.5, 10.75},
                    MoveCase{"BothWaysOutOfTheBayStays", 9.25, 24, 0.5, 0.125, 9.25, 24},
                    MoveCase{"BothWaysAcrossTheBayStays", 9.125, 20.5, -0.5, 0.25, 9.125, 20.5}),
    [](const testing::TestParamInfo<MoveCase>& row) { return row.param.name; });

// Every track level of every particle of a run with large steps released in
// the narrow bay, from each engine that moves particles.
using LevelSink = std::function<void(std::span<const double>, std::span<const float>)>;
using Engine = std::function<void(ModelState&, const LevelSink&)>;

void HeadlessEngine(ModelState& state, const LevelSink& sink) {
  HeadlessRun run(state, 17);
  ASSERT_TRUE(run.Start().ok());
  sink(run.X(), run.Y());
  while (run.HasNextStep()) {
    ASSERT_TRUE(run.Step().ok());
    sink(run.X(), run.Y());
  }
}

void ParallelEngine(ModelState& state, const LevelSink& sink, int threads) {
  ParallelRun run(state, 17, threads);
  run.SetLevelCallback([&sink](int, std::span<const double> x, std::span<const float> y) { sink(x, y); });
  ASSERT_TRUE(run.Run().ok());
}

class CrookedShoreRunTest : public testing::TestWithParam<std::pair<const char*, Engine>> {};

TEST_P(CrookedShoreRunTest, NoPositionEverLiesOffTheWater) {
  ModelState state = CrookedLakeState();
  state.ParticleCount = 400;
  state.DiffusionCoef = 10;  // 380 m a step and component: the bay is 400 m wide
  state.ReleaseX = 9.2, state.ReleaseY = 24.0f;
  // A current out of the bay and along the peninsula, turning with the frames.
  state.FlowFileName = test::WriteUniformFlow(
                           "crooked", state.NodeCount, 84, [](int k) { return k % 2 ? 0.06f : -0.04f; },
                           [](int k) { return k < 40 ? -0.08f : 0.05f; })
                           .string();
  const ShoreIndex shore = ShoreIndex::ForMetres(state);
  long positions = 0, offWater = 0, stayed = 0;
  std::vector<double> lastX;
  std::vector<float> lastY;
  GetParam().second(state, [&](std::span<const double> x, std::span<const float> y) {
    for (std::size_t p = 0; p < x.size(); ++p) {
      ++positions;
      offWater += shore.Contains(x[p], y[p]) == 0;
      if (!lastX.empty()) stayed += x[p] == lastX[p] && y[p] == lastY[p];
    }
    lastX.assign(x.begin(), x.end());
    lastY.assign(y.begin(), y.end());
  });
  EXPECT_EQ(positions, 400L * 84);
  EXPECT_EQ(offWater, 0);
  EXPECT_GT(stayed, 0);  // the coast is crooked enough that both ways were land
}

INSTANTIATE_TEST_SUITE_P(
    Engines, CrookedShoreRunTest,
    testing::Values(
        std::pair<const char*, Engine>{"ParticleStepper", HeadlessEngine},
        std::pair<const char*, Engine>{"ParallelOneThread",
                                       [](ModelState& s, const LevelSink& k) { ParallelEngine(s, k, 1); }},
        std::pair<const char*, Engine>{"ParallelTwoThreads",
                                       [](ModelState& s, const LevelSink& k) { ParallelEngine(s, k, 2); }}),
    [](const auto& row) { return std::string(row.param.first); });

}  // namespace
}  // namespace lakedrift
