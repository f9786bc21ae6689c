#include "view/FlowAnimation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "ViewTestStates.h"
#include "model/GeometryReader.h"
#include "support/TestPaths.h"

namespace lakedrift::test {
namespace {

// The test lake's animation of `frames` frames in a season.
ModelState AnimationState(int16_t frames, int16_t season = 1) {
  ModelState state;
  EXPECT_TRUE(ReadGeometry(state, TestDataPath("testlake.inp")).ok());
  state.Season = season;
  state.VectorScale = 0.25;
  state.FrameCount = frames;
  state.FlowFileName = TestDataPath("testlake.fld").string();
  return state;
}

// Plays every frame without waiting on a 300-pixel view, zoomed in once if
// asked; the frames shown and the label left.
std::pair<int, std::string> PlayAll(ModelState& state, RecordingSurface& surface, bool zoomIn = false) {
  SetMapScale(surface, state);
  if (zoomIn) ZoomIn(surface, state);
  FlowAnimation animation(state, surface);
  EXPECT_TRUE(animation.Start().ok());
  while (animation.HasNextFrame()) EXPECT_TRUE(animation.ShowNextFrame().ok());
  return {animation.FramesShown(), animation.Label()};
}

// Each frame's label is printed in blue (the vectors drawn) over a grey box
// sized by the label it replaces, a tenth of the view from its bottom.
TEST(FlowAnimation, DefaultPlaysEightyThreeFramesEndingAtTheLastTime) {
  ModelState state = AnimationState(83);
  RecordingSurface surface(300, 300);
  const std::string last = "Simulation Time:22:00 8-April-97";
  EXPECT_EQ(PlayAll(state, surface, true), std::pair(83, last));  // the label follows the zoomed view
  const auto print = surface.OperationsOf(Kind::Print).back();
  EXPECT_EQ(std::tuple(print.text, print.state.foreColor), std::tuple(last, PaletteColour(kBlue)));
  const auto boxes = surface.OperationsOf(Kind::FilledBox);
  ASSERT_EQ(boxes.size(), 83u);
  const float left = surface.ScaleLeft();
  EXPECT_EQ(std::tuple(boxes.back().colour, boxes.back().x1, boxes.back().x2),
            std::tuple(PaletteColour(kLightGrey), left,
                       left + surface.TextWidth("Simulation Time:20:00 8-April-97")));
  EXPECT_NEAR(boxes.back().y1, surface.ScaleTop() - 0.9f * std::fabs(surface.ScaleHeight()), 1e-3);
}

// The animation starts afresh: MaxSpeed left from earlier frames is dropped.
TEST(FlowAnimation, OneFrameShowsFileFrameZeroAtTheStartTimeWithMaxSpeedAfresh) {
  ModelState state = AnimationState(1, 2);
  state.MaxSpeed = 100.0;  // left from earlier frames
  RecordingSurface surface(300, 300);
  EXPECT_EQ(PlayAll(state, surface).first, 1);
  EXPECT_EQ(surface.PrintedTexts().back(), "Simulation Time:02:00 22-August-97");
  EXPECT_FLOAT_EQ(state.NodeU(1), 0.02f);
  EXPECT_NEAR(state.MaxSpeed, 0.02, 1e-7);
}

}  // namespace
}  // namespace lakedrift::test
