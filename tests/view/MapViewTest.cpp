#include "view/MapView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "ViewTestStates.h"
#include "view/Palette.h"

namespace lakedrift::test {
namespace {

using Kind = RecordingSurface::Kind;
constexpr int kBarMax = 32767;

TEST(MapView, FullViewHasTwoTenthsMarginAndEightPointText) {
  ModelState s = SquareMapState(-30, 20, 100, 90);
  s.Magnification = 4;
  RecordingSurface surface(800, 800);
  surface.SetFontSize(12);
  SetMapScale(surface, s);
  EXPECT_FLOAT_EQ(surface.ScaleLeft(), -50);
  EXPECT_FLOAT_EQ(surface.ScaleTop(), 140);
  EXPECT_FLOAT_EQ(surface.ScaleWidth(), 140);
  EXPECT_FLOAT_EQ(surface.ScaleHeight(), -140);
  EXPECT_EQ(surface.FontSize(), 8.0f);
  EXPECT_EQ(s.Magnification, 4.0f);
}

TEST(MapView, ZoomsAboutTheTopLeftCornerAndUndoExactly) {
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    ModelState s = SquareMapState(-30.3, 17.7, 103.1, 99.9f);
    RecordingSurface surface = FullViewSurface(s);
    const ViewTransform full = surface.Transform();
    for (int k = 0; k < n; ++k) ZoomIn(surface, s);
    EXPECT_FLOAT_EQ(surface.ScaleWidth(), full.width / std::ldexp(1.0f, n));
    EXPECT_EQ(s.Magnification, std::ldexp(1.0f, n));
    EXPECT_EQ(surface.ScaleLeft(), full.left);
    EXPECT_EQ(surface.ScaleTop(), full.top);
    for (int k = 0; k < n; ++k) ZoomOut(surface, s);
    EXPECT_EQ(surface.Transform(), full);
    EXPECT_EQ(s.Magnification, 1.0f);
  }
}

TEST(MapView, RedrawDrawsVectorsOnlyOnceShown) {
  for (int shown : {0, 1}) {
    SCOPED_TRACE(shown);
    ModelState s = SquareMapState(0, 0, 100, 100);
    SetNodes(s, {{50, 50, 0.1f, 0}});
    s.VectorsShown = static_cast<int16_t>(shown);
    RecordingSurface surface = FullViewSurface(s);
    Redraw(surface, s);
    const auto& ops = surface.Operations();
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops.front().kind, Kind::Clear);
    const auto lines = surface.OperationsOf(Kind::Line);
    const long blue = std::count_if(lines.begin(), lines.end(), [](const auto& op) {
      return op.state.foreColor == PaletteColour(kBlue);
    });
    EXPECT_EQ(blue, shown ? 6 : 0);  // one arrow and the legend
  }
}

TEST(MapView, ScrollFractionIsSixteenBitOverSinglePrecision) {
  EXPECT_EQ(ScrollFraction(0, 0, kBarMax), 0.0f);
  EXPECT_EQ(ScrollFraction(kBarMax, 0, kBarMax), 1.0f);
  EXPECT_EQ(ScrollFraction(16384, 0, kBarMax), 16384.0f / 32767.0f);
  EXPECT_EQ(ScrollFraction(-50, -100, 100), 0.25f);
}

// MapSize differs from MapWidth here, as it does in real regions: the
// horizontal origin and both ranges follow MapSize.
TEST(MapView, ScrollExtremesPutTheViewOnTheScrollWorldEdges) {
  struct Row {
    const char* name;
    bool horizontal;
    int zoomOuts;
    int value;
    double expectedEdge;  // left (Min) / right (Max) or top (Min) / bottom (Max)
  };
  const double xMin = -30, yMax = 120, size = 100, mapSize = 93.5;
  const Row rows[] = {
      {"left at Min", true, 0, 0, xMin - 0.2 * mapSize},
      {"right at Max", true, 0, kBarMax, xMin + 1.2 * mapSize},
      {"top at Min", false, 0, 0, yMax + 0.2 * size},
      {"bottom at Max", false, 0, kBarMax, yMax + 0.2 * size - 1.4 * mapSize},
      {"zoomed out: right at Max lies west of full right", true, 1, kBarMax, xMin + 1.2 * mapSize},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ModelState s = SquareMapState(xMin, yMax - size, size, static_cast<float>(mapSize));
    RecordingSurface surface = FullViewSurface(s);
    for (int k = 0; k < row.zoomOuts; ++k) ZoomOut(surface, s);
    if (row.horizontal) {
      ScrollHorizontal(surface, s, row.value, 0, kBarMax);
      const double edge = row.value == 0 ? surface.ScaleLeft() : surface.ScaleLeft() + surface.ScaleWidth();
      EXPECT_NEAR(edge, row.expectedEdge, 1e-4);
    } else {
      ScrollVertical(surface, s, row.value, 0, kBarMax);
      const double edge = row.value == 0 ? surface.ScaleTop() : surface.ScaleTop() + surface.ScaleHeight();
      EXPECT_NEAR(edge, row.expectedEdge, 1e-4);
    }
  }
}

TEST(MapView, ScrollPrintsTheLabelOnAGreenBoxOverItsText) {
  struct Row {
    const char* name;
    bool zoomOut;
    int16_t vectorsShown;
    const char* label;
    Rgb colour;
  };
  const Row rows[] = {
      {"map only", false, 0, "Magnification: 1", PaletteColour(kBlack)},
      {"after a zoom-out", true, 0, "Magnification: .5", PaletteColour(kBlack)},
      {"with vectors", false, 1, "Magnification: 1", PaletteColour(kBlue)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ModelState s = SquareMapState(0, 0, 100, 100);
    SetNodes(s, {{50, 50, 0.1f, 0}});
    s.VectorsShown = row.vectorsShown;
    RecordingSurface surface = FullViewSurface(s);
    if (row.zoomOut) ZoomOut(surface, s);
    ScrollVertical(surface, s, 100, 0, kBarMax);
    const auto& ops = surface.Operations();
    ASSERT_GE(ops.size(), 2u);
    const auto& box = ops[ops.size() - 2];
    const auto& print = ops.back();
    ASSERT_EQ(box.kind, Kind::FilledBox);
    ASSERT_EQ(print.kind, Kind::Print);
    EXPECT_EQ(print.text, row.label);
    EXPECT_EQ(print.state.foreColor, row.colour);
    EXPECT_EQ(box.colour, PaletteColour(kLightGreen));
    EXPECT_EQ(print.x1, surface.ScaleLeft());
    EXPECT_FLOAT_EQ(print.y1, surface.ScaleTop() - 0.01f * std::fabs(surface.ScaleHeight()));
    EXPECT_EQ(box.x1, print.x1);
    EXPECT_EQ(box.y1, print.y1);
    EXPECT_FLOAT_EQ(box.x2, print.x1 + surface.TextWidth(row.label));
    EXPECT_FLOAT_EQ(box.y2, print.y1 - surface.TextHeight(row.label));  // down the screen
  }
}

TEST(MapView, ScrollBarLayoutAndTooSmallClientAreas) {
  const auto bars = LayoutScrollBars(800, 600, 17, 16);
  ASSERT_TRUE(bars.has_value());
  EXPECT_EQ((std::array{bars->hLeft, bars->hTop, bars->hWidth, bars->hHeight}),
            (std::array{0, 583, 800, 17}));
  EXPECT_EQ((std::array{bars->vLeft, bars->vTop, bars->vWidth, bars->vHeight}),
            (std::array{784, 0, 16, 583}));
  EXPECT_TRUE(LayoutScrollBars(17, 18, 17, 16).has_value());  // one pixel of each left
  EXPECT_FALSE(LayoutScrollBars(800, 17, 17, 16).has_value());
  EXPECT_FALSE(LayoutScrollBars(800, 0, 17, 16).has_value());
  EXPECT_FALSE(LayoutScrollBars(16, 600, 17, 16).has_value());
  EXPECT_FALSE(LayoutScrollBars(-5, -5, 17, 16).has_value());
}

TEST(MapView, ResizeReturnsToTheFullViewAtMagnificationOne) {
  ModelState s = SquareMapState(0, 0, 100, 90);
  RecordingSurface surface = FullViewSurface(s);
  const ViewTransform full = surface.Transform();
  ZoomIn(surface, s);
  ScrollHorizontal(surface, s, 20000, 0, kBarMax);
  ScrollVertical(surface, s, 9000, 0, kBarMax);
  ResizeView(surface, s);
  EXPECT_EQ(surface.Transform(), full);
  EXPECT_EQ(s.Magnification, 1.0f);
  // The full picture is drawn again, and no magnification label with it.
  const auto& ops = surface.Operations();
  const auto lastClear =
      std::find_if(ops.rbegin(), ops.rend(), [](const auto& op) { return op.kind == Kind::Clear; });
  ASSERT_NE(lastClear, ops.rend());
  std::vector<std::string> texts;
  for (auto it = lastClear.base(); it != ops.end(); ++it) {
    EXPECT_NE(it->kind, Kind::FilledBox);
    if (it->kind == Kind::Print) texts.push_back(it->text);
  }
  EXPECT_EQ(texts.size(), 23u);  // title and 22 km labels
}

// The wheel zooms about the pixel under the pointer: the lake point there
// stays there, in and out, anywhere in the picture (a zoom about the
// top-left corner would move every other point).
TEST(MapView, WheelZoomKeepsThePointUnderThePointer) {
  ModelState s = SquareMapState(-30.3, 17.7, 103.1, 99.9f);
  RecordingSurface surface = FullViewSurface(s);
  s.Magnification = 1;
  const double pixels[][2] = {{400, 400}, {37, 611}, {799, 5}};
  for (const auto& p : pixels) {
    for (bool in : {true, false}) {
      SCOPED_TRACE(testing::Message() << p[0] << "," << p[1] << (in ? " in" : " out"));
      double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
      surface.Transform().ToWorld(p[0], p[1], x0, y0);
      const float width = surface.ScaleWidth();
      const float magnification = s.Magnification;
      ZoomAboutPixel(surface, s, p[0], p[1], in);
      surface.Transform().ToWorld(p[0], p[1], x1, y1);
      EXPECT_NEAR(x1, x0, 1e-4);
      EXPECT_NEAR(y1, y0, 1e-4);
      EXPECT_FLOAT_EQ(surface.ScaleWidth(), in ? width / 2 : width * 2);
      EXPECT_EQ(s.Magnification, in ? magnification * 2 : magnification / 2);
      EXPECT_EQ(surface.PrintedTexts().back(), MagnificationLabel(s.Magnification));
    }
  }
}

// A drag moves the picture with the pointer: the point under the pointer
// where the drag began lies under it where the drag ends.
TEST(MapView, DragPansThePictureWithThePointer) {
  ModelState s = SquareMapState(0, 0, 100, 100);
  RecordingSurface surface = FullViewSurface(s);
  ZoomIn(surface, s);
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  surface.Transform().ToWorld(100, 200, x0, y0);
  PanByPixels(surface, s, 30, -45);
  surface.Transform().ToWorld(130, 155, x1, y1);
  EXPECT_NEAR(x1, x0, 1e-4);
  EXPECT_NEAR(y1, y0, 1e-4);
  EXPECT_EQ(s.Magnification, 2.0f);
  EXPECT_EQ(surface.PrintedTexts().back(), MagnificationLabel(2.0f));
}

// The bars follow a view moved by the mouse: the position they are given
// scrolls back to the same view, and a view beyond the scroll world puts
// them at the nearer end.
TEST(MapView, ScrollValuesOfAViewAreTheInverseOfScrolling) {
  ModelState s = SquareMapState(-30.3, 17.7, 103.1, 99.9f);
  s.MapSize = 97.2f;
  RecordingSurface surface = FullViewSurface(s);
  ZoomIn(surface, s);
  ZoomIn(surface, s);
  for (int value : {0, 50, 12345, 32767}) {
    SCOPED_TRACE(value);
    ScrollHorizontal(surface, s, value, 0, kBarMax);
    ScrollVertical(surface, s, value, 0, kBarMax);
    EXPECT_EQ(HorizontalScrollValue(surface, s, 0, kBarMax), value);
    EXPECT_EQ(VerticalScrollValue(surface, s, 0, kBarMax), value);
  }
  PanByPixels(surface, s, 5000, -5000);  // far west and south of the world
  EXPECT_EQ(HorizontalScrollValue(surface, s, 0, kBarMax), 0);
  EXPECT_EQ(VerticalScrollValue(surface, s, 0, kBarMax), kBarMax);
  SetMapScale(surface, s);
  ZoomOut(surface, s);  // larger than the scroll world: nothing to scroll
  EXPECT_EQ(HorizontalScrollValue(surface, s, 0, kBarMax), 0);
}

}  // namespace
}  // namespace lakedrift::test
