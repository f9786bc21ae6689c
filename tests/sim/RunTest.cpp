#include <gtest/gtest.h>

#include <utility>
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
    EXPECT_DOUBLE_EQ(state.MaxSpeed, 5.0) << "the maximum speed was lowered";
  }
}

TEST(DesktopRun, YieldAnsweringStopEndsTheRunEarly) {
  ModelState state = TestLakeState();
  test::NullSurface surface;
  DrawnRun drawn(state, surface, 3);
  int yields = 0;
  ASSERT_TRUE(RunSimulation(drawn.run, [&yields] { return ++yields < 5; }).ok());
  EXPECT_EQ(std::pair(drawn.run.StepsDone(), drawn.run.HasNextStep()), std::pair(5, false));
}

TEST(DesktopRun, PictureAfterAStepIsMapVectorsMarkerTracksLabel) {
  ModelState state = TestLakeState();
  state.ParticleCount = 1;
  RecordingSurface surface(200, 200);
  DrawnRun drawn(state, surface, 3);
  SimulationRun& run = drawn.run;
  ASSERT_TRUE(run.Start().ok() && run.Step().ok());
  // The first label's box is sized by the longer text of the start (where
  // and how the label is drawn is the view's time label's, tested there).
  const auto boxes = surface.OperationsOf(RecordingSurface::Kind::FilledBox);
  ASSERT_FALSE(boxes.empty());
  EXPECT_FLOAT_EQ(boxes.back().x2 - boxes.back().x1,
                  surface.TextWidth("Simulation Time (Hours):02:00 2-April-97"));
  EXPECT_EQ(surface.PrintedTexts().back(), "Simulation Time:02:00 2-April-97");
  for (int s = 2; s <= 82; ++s) ASSERT_TRUE(run.Step().ok());
  // After the frame change of step 82, in order: map and vectors, the green
  // marker, the red tracks (81 history segments and the new one), the grey
  // box and the label.
  using Kind = RecordingSurface::Kind;
  const auto& ops = surface.Operations();
  std::size_t clear = 0, circle = 0, firstRed = 0, reds = 0, box = 0, print = 0;
  for (std::size_t i = 0; i < ops.size(); ++i) {
    const bool red = ops[i].kind == Kind::Line && ops[i].state.foreColor == PaletteColour(kLightRed);
    if (ops[i].kind == Kind::Clear) clear = i, circle = firstRed = reds = 0;
    if (ops[i].kind == Kind::Circle && !circle) circle = i;
    if (red && !reds++) firstRed = i;
    if (ops[i].kind == Kind::FilledBox) box = i;
    if (ops[i].kind == Kind::Print) print = i;
  }
  EXPECT_EQ(reds, 82u);
  ASSERT_GT(circle, clear);
  EXPECT_TRUE(ops[circle].colour == PaletteColour(kGreen) && ops[circle].state.fillStyle == FillStyle::Solid);
  EXPECT_NEAR(ops[circle].radius, 0.008f * surface.ScaleWidth(), 1e-5);
  EXPECT_TRUE(circle < firstRed && firstRed < box && box < print) << "drawn out of order";
  const std::size_t clears = surface.OperationsOf(Kind::Clear).size();
  ASSERT_TRUE(run.Step().ok());  // step 83 reuses frame 82: no redraw
  EXPECT_EQ(surface.OperationsOf(Kind::Clear).size(), clears);
}

TEST(Runs, MoveTheWholeParticlesOfAFractionalCountDrawingTwoDeviatesEach) {
  ModelState state = TestLakeState();
  state.ParticleCount = 12.7;
  // A strong current: many moves are sent back, and still draw only two.
  auto u = [](int) { return 1.0f; };
  auto v = [](int) { return 0.3f; };
  state.FlowFileName = test::WriteUniformFlow("strong", state.NodeCount, 84, u, v).string();
  test::NullSurface surface;
  DrawnRun drawn(state, surface, 3);
  ASSERT_TRUE(RunSimulation(drawn.run, [] { return true; }).ok());
  EXPECT_EQ(std::pair(drawn.run.ParticlesMoved(), drawn.run.RandomDraws()),
            std::pair(12, uint64_t{2 * 12 * 83}));
  ParallelRun parallel(state, 3, 2);
  ASSERT_TRUE(parallel.Start().ok());
  EXPECT_EQ(parallel.ReleaseElement(), ReleaseElement(state));
  // All 12 at the release point, in its element.
  EXPECT_EQ(std::vector<double>(parallel.X().begin(), parallel.X().end()), std::vector<double>(12, 3000.0));
  EXPECT_EQ(std::vector<float>(parallel.Y().begin(), parallel.Y().end()), std::vector<float>(12, 1000.0f));
  EXPECT_EQ(std::vector<int16_t>(parallel.Elements().begin(), parallel.Elements().end()),
            std::vector<int16_t>(12, static_cast<int16_t>(parallel.ReleaseElement())));
}

TEST(ParallelRun, HoldsFewerThanOneHundredBytesPerParticle) {
  ModelState state = TestLakeState();
  state.ParticleCount = 100000;
  ParallelRun run(state, 3, 2);
  ASSERT_TRUE(run.Start().ok() && run.Step().ok());
  EXPECT_LT(run.HeldBytes(), 100u * 100000u);
  EXPECT_GE(run.HeldBytes(), ParallelRun::kBytesPerParticle * 100000u);
}

}  // namespace
}  // namespace lakedrift
