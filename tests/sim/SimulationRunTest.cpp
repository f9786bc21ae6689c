#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "sim/RunFixture.h"
#include "sim/SimulationRun.h"
#include "view/RecordingSurface.h"
#include "view/RunPicture.h"

namespace lakedrift {
namespace {

using test::TestLakeState;
using test::WriteUniformFlow;

constexpr double kDt = 7200.0;

// Runs a whole simulation to its end, yielding always "go on".
Status RunToEnd(SimulationRun& run) {
  return RunSimulation(run, [] { return true; });
}

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

TEST(SimulationRun, HelloWorld) {
  ModelState state = TestLakeState();
  RecordingSurface surface(400, 400);
  DrawnRun drawn_run(state, surface, 7);
  SimulationRun& run = drawn_run.run;
  ASSERT_TRUE(RunToEnd(run).ok());
  // The default run: 83 steps of two hours, 84 track levels.
  EXPECT_EQ(run.StepCount(), 83);
  EXPECT_EQ(run.StepsDone(), 83);
  // Frames 0..82 were read; NodeU holds frame 82.
  EXPECT_FLOAT_EQ(state.NodeU(1), test::TestFlowU(82));
  // Every particle stayed on the water of the test lake.
  for (int p = 1; p <= 50; ++p) {
    const double x = run.TrackX(p, 84) / 1000, y = run.TrackY(p, 84) / 1000.0;
    EXPECT_TRUE(x > -1 && x < 11 && y > -1 && y < 11) << p;
  }
  EXPECT_EQ(run.LastLabel(), "Simulation Time:22:00 8-April-97");
}

TEST(SimulationRun, LastLabelOfADrySeasonRun) {
  ModelState state = TestLakeState();
  state.Season = 2;
  RecordingSurface surface(400, 400);
  DrawnRun drawn_run(state, surface, 7);
  SimulationRun& run = drawn_run.run;
  ASSERT_TRUE(RunToEnd(run).ok());
  EXPECT_EQ(run.LastLabel(), "Simulation Time:22:00 28-August-97");
  EXPECT_EQ(surface.PrintedTexts().back(), "Simulation Time:22:00 28-August-97");
}

TEST(SimulationRun, FirstLabelShowsTheStartAndItsBoxIsSizedByTheStartText) {
  ModelState state = TestLakeState();
  RecordingSurface surface(400, 400);
  DrawnRun drawn_run(state, surface, 7);
  SimulationRun& run = drawn_run.run;
  ASSERT_TRUE(run.Start().ok());
  ASSERT_TRUE(run.Step().ok());
  const auto boxes = surface.OperationsOf(RecordingSurface::Kind::FilledBox);
  ASSERT_FALSE(boxes.empty());
  const auto& box = boxes.back();
  EXPECT_EQ(box.colour, PaletteColour(kLightGrey));
  EXPECT_FLOAT_EQ(box.x2 - box.x1, surface.TextWidth("Simulation Time (Hours):02:00 2-April-97"));
  EXPECT_EQ(surface.PrintedTexts().back(), "Simulation Time:02:00 2-April-97");
  // The label sits at the left edge, nine tenths of the way down.
  EXPECT_FLOAT_EQ(box.x1, surface.ScaleLeft());
  EXPECT_NEAR(box.y1, surface.ScaleTop() - 0.9f * std::fabs(surface.ScaleHeight()), 1e-3);
}

TEST(SimulationRun, WithoutDiffusionAUniformCurrentIsPureAdvection) {
  ModelState state = TestLakeState();
  state.DiffusionCoef = 0;
  state.ParticleCount = 3;
  state.ReleaseX = 1.0, state.ReleaseY = 1.0f;
  state.FlowFileName =
      WriteUniformFlow(
          "uniform", state.NodeCount, 84, [](int) { return 0.001f; }, [](int) { return 0.0005f; })
          .string();
  RecordingSurface surface(200, 200);
  DrawnRun drawn_run(state, surface, 1);
  SimulationRun& run = drawn_run.run;
  ASSERT_TRUE(RunToEnd(run).ok());
  for (int p = 1; p <= 3; ++p)
    for (int level = 1; level <= 84; ++level) {
      const int steps = level - 1;
      EXPECT_NEAR(run.TrackX(p, level), 1000.0 + steps * kDt * static_cast<double>(0.001f), 1e-6);
      EXPECT_NEAR(run.TrackY(p, level), 1000.0 + steps * kDt * static_cast<double>(0.0005f), 0.07);
    }
}

TEST(SimulationRun, MoveOffTheWaterLandsOnTheMirrorPoint) {
  ModelState state = TestLakeState();
  state.DiffusionCoef = 0;
  state.ParticleCount = 1;
  state.ReleaseX = 9.0, state.ReleaseY = 5.0f;
  // 1 m/s east: 7.2 km a step, out through the eastern shore at x = 10 km.
  state.FlowFileName = WriteUniformFlow(
                           "east", state.NodeCount, 84, [](int) { return 1.0f; }, [](int) { return 0.0f; })
                           .string();
  RecordingSurface surface(200, 200);
  DrawnRun drawn_run(state, surface, 1);
  SimulationRun& run = drawn_run.run;
  ASSERT_TRUE(run.Start().ok());
  ASSERT_TRUE(run.Step().ok());
  EXPECT_NEAR(run.TrackX(1, 2), 9000.0 - 7200.0, 1e-6);
  EXPECT_FLOAT_EQ(run.TrackY(1, 2), 5000.0f);
}

TEST(SimulationRun, TwoDrawsPerParticlePerStepReflectedOrNot) {
  ModelState state = TestLakeState();
  state.ParticleCount = 4;
  state.FlowFileName = WriteUniformFlow(
                           "strong", state.NodeCount, 84, [](int) { return 1.0f; }, [](int) { return 0.3f; })
                           .string();
  RecordingSurface surface(200, 200);
  DrawnRun drawn_run(state, surface, 3);
  SimulationRun& run = drawn_run.run;
  ASSERT_TRUE(RunToEnd(run).ok());
  EXPECT_EQ(run.RandomDraws(), 2u * 4u * 83u);
}

TEST(SimulationRun, FractionalParticleCountMovesTheWholeParticles) {
  ModelState state = TestLakeState();
  state.ParticleCount = 12.7;
  RecordingSurface surface(200, 200);
  DrawnRun drawn_run(state, surface, 3);
  SimulationRun& run = drawn_run.run;
  ASSERT_TRUE(RunToEnd(run).ok());
  EXPECT_EQ(run.ParticlesMoved(), 12);
  EXPECT_EQ(run.RandomDraws(), 2u * 12u * 83u);
}

TEST(SimulationRun, ReleasePointInNoElementLeavesTheFirstElement) {
  ModelState state = TestLakeState();
  state.ReleaseX = 5.0, state.ReleaseY = 5.0f;  // on the island
  RecordingSurface surface(200, 200);
  DrawnRun drawn_run(state, surface, 3);
  SimulationRun& run = drawn_run.run;
  ASSERT_TRUE(run.Start().ok());
  EXPECT_EQ(run.CurrentElement(), 1);
}

TEST(SimulationRun, ReleasePointOnASharedEdgeGoesToTheLowerElement) {
  ModelState state = TestLakeState();
  state.ReleaseX = 1.0, state.ReleaseY = 1.0f;  // on the diagonal of elements 1 and 2
  RecordingSurface surface(200, 200);
  DrawnRun drawn_run(state, surface, 3);
  SimulationRun& run = drawn_run.run;
  ASSERT_TRUE(run.Start().ok());
  EXPECT_EQ(run.CurrentElement(), 1);
}

TEST(SimulationRun, HistoryRedrawDrawsEveryEarlierSegment) {
  ModelState state = TestLakeState();
  state.ParticleCount = 1;
  RecordingSurface surface(200, 200);
  DrawnRun drawn_run(state, surface, 3);
  SimulationRun& run = drawn_run.run;
  ASSERT_TRUE(run.Start().ok());
  for (int s = 1; s <= 82; ++s) {
    ASSERT_TRUE(run.Step().ok());
    // After the frame change of step s: s − 1 history segments and the new one.
    if (s == 1 || s == 5 || s == 82) {
      EXPECT_EQ(CountRedLines(surface.Operations(), LastClear(surface.Operations())), s) << s;
    }
  }
  const std::size_t clearsBefore = surface.OperationsOf(RecordingSurface::Kind::Clear).size();
  ASSERT_TRUE(run.Step().ok());  // step 83 reuses frame 82: no redraw
  EXPECT_EQ(surface.OperationsOf(RecordingSurface::Kind::Clear).size(), clearsBefore);
  EXPECT_FALSE(run.HasNextStep());
}

TEST(SimulationRun, PictureAfterAStepIsMapVectorsMarkerTracksLabel) {
  ModelState state = TestLakeState();
  state.ParticleCount = 2;
  RecordingSurface surface(200, 200);
  DrawnRun drawn_run(state, surface, 3);
  SimulationRun& run = drawn_run.run;
  ASSERT_TRUE(run.Start().ok());
  ASSERT_TRUE(run.Step().ok());
  ASSERT_TRUE(run.Step().ok());
  const auto& ops = surface.Operations();
  const std::size_t clear = LastClear(ops);
  // Order after the clear: map and vectors (black coast, blue arrows), then
  // the green marker, then red tracks, then the grey box and the label.
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
  EXPECT_EQ(ops[circle].state.fillColor, PaletteColour(kGreen));
  EXPECT_EQ(ops[circle].state.fillStyle, FillStyle::Solid);
  EXPECT_NEAR(ops[circle].radius, 0.008f * surface.ScaleWidth(), 1e-5);
  EXPECT_GT(firstRed, circle);
  EXPECT_GT(box, firstRed);
  EXPECT_GT(print, box);
  // The label keeps the colour the vectors left: dark blue.
  EXPECT_EQ(ops[print].state.foreColor, PaletteColour(kBlue));
}

TEST(SimulationRun, MaxSpeedIsARunningMaximumNeverReset) {
  ModelState state = TestLakeState();
  state.MaxSpeed = 5.0;  // larger than any speed in the file
  RecordingSurface surface(200, 200);
  DrawnRun drawn_run(state, surface, 3);
  SimulationRun& run = drawn_run.run;
  ASSERT_TRUE(RunToEnd(run).ok());
  EXPECT_DOUBLE_EQ(state.MaxSpeed, 5.0);
}

TEST(SimulationRun, MissingFlowFileFailsAtTheStartNamingIt) {
  ModelState state = TestLakeState();
  state.FlowFileName = (test::FreshOutputDir("run_missing") / "tanws.fld").string();
  RecordingSurface surface(200, 200);
  DrawnRun drawn_run(state, surface, 3);
  SimulationRun& run = drawn_run.run;
  const Status s = RunToEnd(run);
  EXPECT_EQ(s.kind(), ErrorKind::FileMissing);
  EXPECT_NE(s.message().find("tanws.fld"), std::string::npos);
  EXPECT_FALSE(run.HasNextStep());
}

TEST(SimulationRun, ShortFlowFileStopsTheRunAtTheFrameItLacks) {
  ModelState state = TestLakeState();
  state.FlowFileName = WriteUniformFlow(
                           "short", state.NodeCount, 10, [](int) { return 0.01f; }, [](int) { return 0.0f; })
                           .string();
  RecordingSurface surface(200, 200);
  DrawnRun drawn_run(state, surface, 3);
  SimulationRun& run = drawn_run.run;
  const Status s = RunToEnd(run);
  EXPECT_EQ(s.kind(), ErrorKind::ShortFile);
  EXPECT_NE(s.message().find("frame 10"), std::string::npos) << s.message();
  EXPECT_EQ(run.StepsDone(), 9);  // step 10 needs frame 10
  EXPECT_FALSE(run.HasNextStep());
}

TEST(SimulationRun, YieldAnsweringStopEndsTheRunEarly) {
  ModelState state = TestLakeState();
  RecordingSurface surface(200, 200);
  DrawnRun drawn_run(state, surface, 3);
  SimulationRun& run = drawn_run.run;
  int yields = 0;
  ASSERT_TRUE(RunSimulation(run, [&yields] { return ++yields < 5; }).ok());
  EXPECT_EQ(run.StepsDone(), 5);
  EXPECT_FALSE(run.HasNextStep());
}

TEST(SimulationRun, SameSeedSameTracks) {
  ModelState a = TestLakeState(), b = TestLakeState();
  RecordingSurface sa(100, 100), sb(100, 100);
  DrawnRun drawnA(a, sa, 42), drawnB(b, sb, 42);
  SimulationRun &ra = drawnA.run, &rb = drawnB.run;
  ASSERT_TRUE(RunToEnd(ra).ok());
  ASSERT_TRUE(RunToEnd(rb).ok());
  for (int p = 1; p <= 50; ++p) EXPECT_EQ(ra.TrackX(p, 84), rb.TrackX(p, 84));
  // Particles released together spread apart by diffusion.
  EXPECT_NE(ra.TrackX(1, 84), ra.TrackX(2, 84));
}

}  // namespace
}  // namespace lakedrift
