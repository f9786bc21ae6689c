#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sim/ElementLocation.h"
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
