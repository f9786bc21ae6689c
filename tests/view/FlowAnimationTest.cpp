#include "view/FlowAnimation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "ViewTestStates.h"
#include "sim/RunFixture.h"

namespace lakedrift::test {
namespace {

// Each frame's label is printed in blue (the vectors drawn) over a grey box
// sized by the label it replaces, a tenth of the view from its bottom; the
// label follows a zoomed view. The animation starts afresh: MaxSpeed left
// from earlier frames is dropped. One frame shows the file's frame zero.
TEST(FlowAnimation, PlaysItsFramesLabelledOverAGreyBoxFromAFreshStart) {
  // clang-format off
  const struct { int16_t frames, season; const char* last; } rows[] = {
      {83, 1, "Simulation Time:22:00 8-April-97"}, {1, 2, "Simulation Time:02:00 22-August-97"}};
  // clang-format on
  for (const auto& row : rows) {
    ModelState state = TestLakeState();
    state.Season = row.season, state.FrameCount = row.frames,
    state.MaxSpeed = 100.0;  // left from earlier frames
    RecordingSurface surface(300, 300);
    SetMapScale(surface, state);
    if (row.frames > 1) ZoomIn(surface, state);
    FlowAnimation animation(state, surface);
    ASSERT_TRUE(animation.Start().ok());
    while (animation.HasNextFrame()) ASSERT_TRUE(animation.ShowNextFrame().ok());
    const auto print = surface.OperationsOf(Kind::Print).back();
    EXPECT_EQ(std::tuple(animation.FramesShown(), animation.Label(), print.text, print.state.foreColor),
              std::tuple(int{row.frames}, row.last, row.last, PaletteColour(kBlue)));
    EXPECT_TRUE(row.frames > 1 || (state.NodeU(1) == 0.02f && std::fabs(state.MaxSpeed - 0.02) < 1e-7))
        << "not the file's frame zero, or MaxSpeed of earlier frames kept";
    if (row.frames == 1) continue;
    const auto boxes = surface.OperationsOf(Kind::FilledBox);
    ASSERT_EQ(boxes.size(), 83u);
    const float left = surface.ScaleLeft();
    EXPECT_EQ(std::tuple(boxes.back().colour, boxes.back().x1, boxes.back().x2),
              std::tuple(PaletteColour(kLightGrey), left,
                         left + surface.TextWidth("Simulation Time:20:00 8-April-97")));
    EXPECT_NEAR(boxes.back().y1, surface.ScaleTop() - 0.9f * std::fabs(surface.ScaleHeight()), 1e-3);
  }
}

}  // namespace
}  // namespace lakedrift::test
