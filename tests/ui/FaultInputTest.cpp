#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "support/TestPaths.h"
#include "ui/FaultFixture.h"

namespace lakedrift {
namespace {

const QColor kTrack(255, 0, 0);
const char* const kRefusal = "Release Point is not in the lake, Repeat enter, please... ";
constexpr float kShortFramePeriod = 0.01f;
constexpr double kFewParticles = 5;

// Damaged flow files and odd geometry met by a run or an animation of the
// running program: a message naming what is wrong, the state of a normal
// end, and a program that goes on working.
class FaultInputTest : public test::FaultFixture {
 protected:
  void SetUp() override {
    OpenWindow();
    ParametersContinue();
    state.ParticleCount = kFewParticles;
    state.FramePeriod = kShortFramePeriod;
  }

  // Runs from (3, 3); the messages the run showed.
  std::vector<test::ScriptedDialogs::Message> RunFromThree() {
    dialogs.ClearRecord();
    EXPECT_TRUE(Release("3", "3"));
    Choose("StartSim");
    return dialogs.Messages();
  }
  std::vector<test::ScriptedDialogs::Message> Animate() {
    dialogs.ClearRecord();
    Choose("AnimFlow");
    return dialogs.Messages();
  }
  // A run refused before its first step changes no menu: the release point
  // still stands and may be run again.
  void ExpectRefused() const {
    ExpectIdle();
    EXPECT_TRUE(Item("StartSim")->isEnabled());
    EXPECT_TRUE(Item("AnimFlow")->isEnabled());
  }
  // After a failure the program still runs and animates cleanly.
  void ExpectUsableWithAGoodFile() {
    RestoreFlowFile();
    EXPECT_TRUE(Animate().empty());
    ExpectIdle();
    const auto m = RunFromThree();
    EXPECT_TRUE(m.empty()) << (m.empty() ? "" : m[0].text);
    ExpectRunEnded();
    EXPECT_GT(test::CountColour(Picture(), kTrack), 0);
  }
};

bool Names(const test::ScriptedDialogs::Message& message, const std::string& part) {
  return message.text.find(part) != std::string::npos;
}

TEST_F(FaultInputTest, FlowFileDeletedBetweenTwoRuns) {
  EXPECT_TRUE(RunFromThree().empty());
  ExpectRunEnded();
  std::filesystem::remove(FlowPath());

  const auto messages = RunFromThree();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(Names(messages[0], "tanws.fld")) << messages[0].text;
  ExpectRefused();
  const auto animation = Animate();
  ASSERT_EQ(animation.size(), 1u);
  EXPECT_TRUE(Names(animation[0], "tanws.fld")) << animation[0].text;
  ExpectIdle();
  ExpectUsableWithAGoodFile();
}

TEST_F(FaultInputTest, RunOnAFlowFileThatEndsInsideAFrame) {
  CutFlowFile(5, 100);
  const auto messages = RunFromThree();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(Names(messages[0], "tanws.fld")) << messages[0].text;
  EXPECT_TRUE(Names(messages[0], "frame 5")) << messages[0].text;
  ExpectRunEnded();
  EXPECT_GT(test::CountColour(Picture(), kTrack), 0);  // the steps before it stay drawn
  ExpectUsableWithAGoodFile();
}

TEST_F(FaultInputTest, RunOnAnEmptyFlowFile) {
  CutFlowFile(0, 0);
  const auto messages = RunFromThree();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(Names(messages[0], "frame 0")) << messages[0].text;
  ExpectRefused();
  ExpectUsableWithAGoodFile();
}

TEST_F(FaultInputTest, RunOnAFlowFileWithANaN) {
  PoisonFlowFile(3, 7, true, std::numeric_limits<float>::quiet_NaN());
  const auto messages = RunFromThree();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(Names(messages[0], "frame 3")) << messages[0].text;
  EXPECT_TRUE(Names(messages[0], "node 7")) << messages[0].text;
  ExpectRunEnded();  // the current frame is the last good one: all finite
  ExpectUsableWithAGoodFile();
}

TEST_F(FaultInputTest, AnimationOnAFlowFileThatEndsInsideAFrame) {
  CutFlowFile(4, 8);
  const auto messages = Animate();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(Names(messages[0], "frame 4")) << messages[0].text;
  ExpectIdle();
  EXPECT_TRUE(Item("AnimFlow")->isEnabled());
  ExpectUsableWithAGoodFile();
}

TEST_F(FaultInputTest, AnimationOnAFlowFileWithAnInfiniteValue) {
  PoisonFlowFile(2, 36, false, std::numeric_limits<float>::infinity());
  const auto messages = Animate();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(Names(messages[0], "frame 2")) << messages[0].text;
  EXPECT_TRUE(Names(messages[0], "node 36")) << messages[0].text;
  ExpectIdle();
  EXPECT_TRUE(std::isfinite(state.MaxSpeed));
  ExpectUsableWithAGoodFile();
}

TEST_F(FaultInputTest, RefusedAnimationAndRunKeepTheVectorsPictureAndMenus) {
  EXPECT_TRUE(Animate().empty());
  ASSERT_TRUE(Release("3", "3"));
  const Array1<float> u = state.NodeU, v = state.NodeV;
  const double maxSpeed = state.MaxSpeed;
  const QImage before = Picture();
  std::filesystem::remove(FlowPath());
  for (const char* command : {"AnimFlow", "StartSim"}) {
    dialogs.ClearRecord();
    Choose(command);
    EXPECT_EQ(dialogs.Messages().size(), 1u) << command;
    EXPECT_EQ(state.NodeU, u) << command;
    EXPECT_EQ(state.NodeV, v) << command;
    EXPECT_EQ(state.MaxSpeed, maxSpeed) << command;
    EXPECT_EQ(Picture(), before) << command;
    ExpectRefused();
  }
}

// Release points on the mesh's vertices and on the coast, where the shore
// rule decides; each accepted one must give a complete run.
TEST_F(FaultInputTest, ReleaseOnVerticesAndCoastEdges) {
  struct Point {
    const char* x;
    const char* y;
    const char* what;
  };
  const Point points[] = {
      {"2", "2", "interior vertex"},   {"4", "4", "island corner"},    {"0", "0", "shore corner"},
      {"10", "10", "shore corner"},    {"5", "10", "northern shore"},  {"5", "0", "southern shore"},
      {"0", "5", "western shore"},     {"10", "5", "eastern shore"},   {"5", "6", "island north side"},
      {"5", "4", "island south side"}, {"4", "5", "island west side"}, {"6", "5", "island east side"},
  };
  int accepted = 0;
  for (const Point& point : points) {
    SCOPED_TRACE(std::string(point.what) + " (" + point.x + ", " + point.y + ")");
    dialogs.ClearRecord();
    if (!Release(point.x, point.y)) {
      ASSERT_EQ(dialogs.Messages().size(), 1u);
      EXPECT_EQ(dialogs.Messages()[0].text, kRefusal);
      EXPECT_FALSE(Item("StartSim")->isEnabled());
      continue;
    }
    ++accepted;
    EXPECT_EQ(state.ReleaseX, std::stod(point.x));
    EXPECT_TRUE(dialogs.Messages().empty());
    Choose("StartSim");
    EXPECT_TRUE(dialogs.Messages().empty());
    ExpectRunEnded();
    EXPECT_GT(test::CountColour(Picture(), kTrack), 0);
  }
  // The northern side of the square is water by the shore rule, the
  // southern side land; the interior vertex is plain water.
  EXPECT_GE(accepted, 2);
}

// A mesh whose neighbour table is wrong in one place: the top triangle
// names the right-hand one as its neighbour across its western edge, and
// the right-hand triangle sends a point west of the top one back up. A
// walk from the top triangle to a point in the left one goes round for
// ever unless it is stopped.
class CyclingMeshTest : public test::FaultFixture {
 protected:
  static constexpr int kNodes = 5;
  static constexpr int kFrames = 84;
  static constexpr float kWestward = -0.05f;  // m/s: 360 m a step

  void SetUp() override {
    std::filesystem::remove(lake.Path() / "geomtan.inp");
    test::WriteTextFile(lake.Path() / "geomtan.inp",
                        "1\n4\n5 4 3 4\n"
                        "1 1 2 5 0 2 4\n"
                        "2 2 3 5 0 3 1\n"
                        "3 3 4 5 0 2 2\n"  // edge 2 (4 to 5) lies on element 4, not 2
                        "4 4 1 5 0 1 3\n"
                        "1 0 0\n2 10 0\n3 10 10\n4 0 10\n5 5 5\n"
                        "1 1 0 0\n2 2 10 0\n3 3 10 10\n4 4 0 10\n");
    std::ofstream flow(lake.Path() / "tanws.fld", std::ios::binary | std::ios::trunc);
    for (int frame = 0; frame < kFrames; ++frame) {
      for (int n = 0; n < kNodes; ++n) flow.write(reinterpret_cast<const char*>(&kWestward), 4);
      const float still = 0;
      for (int n = 0; n < kNodes; ++n) flow.write(reinterpret_cast<const char*>(&still), 4);
    }
    ASSERT_TRUE(flow.good());
  }
};

TEST_F(CyclingMeshTest, RunDriftingAcrossTheBadEdgeFinishes) {
  OpenWindow();
  ASSERT_EQ(state.ElementCount, 4);
  ASSERT_EQ(state.ElemNeighbour(2, 3), 2);  // the damage the reader let through
  ParametersContinue();
  state.ParticleCount = kFewParticles;
  ASSERT_TRUE(Release("6", "8.5"));  // in the top triangle, drifting west into the left one
  Choose("StartSim");
  EXPECT_TRUE(dialogs.Messages().empty());
  ExpectRunEnded();
  // The tracks reached the left triangle, west of x = 1.5 km at that height.
  const ViewTransform view = window->Picture().Transform();
  const PixelPoint west = view.ToPixel(0.75, 8.5);
  const double kmInPixels = view.ToPixel(1, 0).x - view.ToPixel(0, 0).x;
  EXPECT_GT(test::CountNear(Picture(), west.x, west.y, static_cast<int>(kmInPixels), kTrack), 0);
}

}  // namespace
}  // namespace lakedrift
