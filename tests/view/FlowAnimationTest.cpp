#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>

#include "model/GeometryReader.h"
#include "support/TestPaths.h"
#include "view/FlowAnimation.h"
#include "view/MapView.h"
#include "view/RecordingSurface.h"

namespace lakedrift {
namespace {

ModelState AnimationState() {
  ModelState state;
  EXPECT_TRUE(ReadGeometry(state, test::TestDataPath("testlake.inp")).ok());
  state.Season = 1;
  state.RegionTitle = "LAKE TANGANYIKA";
  state.VectorScale = 0.25;
  state.FrameCount = 83;
  state.FramePeriod = 1.0f;
  state.FlowFileName = test::TestDataPath("testlake.fld").string();
  return state;
}

// Plays every frame without waiting.
Status PlayAll(FlowAnimation& animation) {
  if (Status s = animation.Start(); !s.ok()) return s;
  while (animation.HasNextFrame())
    if (Status s = animation.ShowNextFrame(); !s.ok()) return s;
  animation.End();
  return Status::Ok();
}

TEST(FlowAnimation, DefaultPlaysEightyThreeFramesEndingAtTheLastTime) {
  ModelState state = AnimationState();
  RecordingSurface surface(300, 300);
  SetMapScale(surface, state);
  FlowAnimation animation(state, surface);
  ASSERT_TRUE(PlayAll(animation).ok());
  EXPECT_EQ(animation.FramesShown(), 83);
  const auto texts = surface.PrintedTexts();
  EXPECT_EQ(animation.Label(), "Simulation Time:22:00 8-April-97");
  EXPECT_EQ(texts.back(), "Simulation Time:22:00 8-April-97");
  EXPECT_EQ(state.VectorsShown, 1);
}

TEST(FlowAnimation, OneFrameShowsFileFrameZeroAtTheStartTimeWithMaxSpeedAfresh) {
  ModelState state = AnimationState();
  state.FrameCount = 1;
  state.Season = 2;
  state.MaxSpeed = 100.0;  // left from earlier frames: the animation starts afresh
  RecordingSurface surface(300, 300);
  SetMapScale(surface, state);
  FlowAnimation animation(state, surface);
  ASSERT_TRUE(PlayAll(animation).ok());
  EXPECT_EQ(animation.FramesShown(), 1);
  EXPECT_EQ(surface.PrintedTexts().back(), "Simulation Time:02:00 22-August-97");
  EXPECT_FLOAT_EQ(state.NodeU(1), 0.02f);
  EXPECT_NEAR(state.MaxSpeed, 0.02, 1e-7);
}

TEST(FlowAnimation, GreyBoxIsSizedByThePreviousLabelAtNinetyPercentDown) {
  ModelState state = AnimationState();
  state.FrameCount = 2;
  RecordingSurface surface(300, 300);
  SetMapScale(surface, state);
  ZoomIn(surface, state);  // the label follows the zoomed view
  FlowAnimation animation(state, surface);
  ASSERT_TRUE(PlayAll(animation).ok());
  const auto boxes = surface.OperationsOf(RecordingSurface::Kind::FilledBox);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].colour, PaletteColour(kLightGrey));
  EXPECT_FLOAT_EQ(boxes[1].x2 - boxes[1].x1, surface.TextWidth("Simulation Time:02:00 2-April-97"));
  EXPECT_FLOAT_EQ(boxes[1].x1, surface.ScaleLeft());
  EXPECT_NEAR(boxes[1].y1, surface.ScaleTop() - 0.9f * std::fabs(surface.ScaleHeight()), 1e-3);
  const auto prints = surface.OperationsOf(RecordingSurface::Kind::Print);
  EXPECT_EQ(prints.back().text, "Simulation Time:04:00 2-April-97");
  EXPECT_EQ(prints.back().state.foreColor, PaletteColour(kBlue));
}

}  // namespace
}  // namespace lakedrift
