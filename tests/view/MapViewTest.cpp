#include "view/MapView.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>

#include "ViewTestStates.h"

namespace lakedrift::test {
namespace {

constexpr int kBarMax = 32767;

// A bar moved to an end puts the view on that edge of the scroll world:
// left (value 0) or right (kBarMax), top or bottom. MapSize differs from
// MapWidth here, as it does in real regions: the horizontal origin and both
// ranges follow MapSize. The magnification label is then printed over a
// green box, in the colour the picture left.
TEST(MapView, ScrollExtremesPutTheViewOnTheScrollWorldEdgesAndPrintTheLabel) {
  const double xMin = -30, yMax = 120, size = 100, mapSize = 93.5;
  const std::string one = "Magnification: 1";
  // clang-format off
  const struct { const char* name; bool horizontal; int zoomOuts, value; double edge;
                 int16_t vectorsShown; std::string label; int colour; } rows[] = {
      {"left at Min", true, 0, 0, xMin - 0.2 * mapSize, 0, one, kBlack},
      {"right at Max", true, 0, kBarMax, xMin + 1.2 * mapSize, 1, one, kBlue},
      {"top at Min", false, 0, 0, yMax + 0.2 * size, 0, one, kBlack},
      {"bottom at Max", false, 0, kBarMax, yMax + 0.2 * size - 1.4 * mapSize, 1, one, kBlue},
      {"zoomed out: right at Max lies west of full right", true, 1, kBarMax, xMin + 1.2 * mapSize, 0, "Magnification: .5", kBlack},
  };
  // clang-format on
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ModelState s = SquareMapState(xMin, yMax - size, size, static_cast<float>(mapSize));
    s.VectorsShown = row.vectorsShown;
    RecordingSurface surface = FullViewSurface(s);
    for (int k = 0; k < row.zoomOuts; ++k) ZoomOut(surface, s);
    (row.horizontal ? ScrollHorizontal : ScrollVertical)(surface, s, row.value, 0, kBarMax, Redraw);
    const ViewTransform t = surface.Transform();
    EXPECT_NEAR(row.horizontal ? t.left + (row.value ? t.width : 0) : t.top + (row.value ? t.height : 0),
                row.edge, 1e-4);
    const auto& ops = surface.Operations();
    const auto &box = ops.at(ops.size() - 2), &print = ops.back();  // throws if fewer than two
    const float top = t.top - 0.01f * std::fabs(t.height);
    EXPECT_EQ(std::tuple(print.kind, print.text, print.state.foreColor, print.x1, print.y1),
              std::tuple(Kind::Print, row.label, PaletteColour(row.colour), t.left, top));
    EXPECT_EQ(std::tuple(box.kind, box.colour, box.x1, box.y1, box.x2, box.y2),
              std::tuple(Kind::FilledBox, PaletteColour(kLightGreen), t.left, top,
                         t.left + surface.TextWidth(row.label), top - surface.TextHeight(row.label)))
        << "the box over the text, down the screen";
  }
}

// Bars need a pixel of picture each way (the layout's edges are the window's to check).
TEST(MapView, ScrollBarsNeedAClientAreaLargerThanThemselves) {
  EXPECT_TRUE(LayoutScrollBars(17, 18, 17, 16).has_value());  // one pixel of each left
  for (auto [width, height] : {std::array{800, 17}, {800, 0}, {16, 600}, {-5, -5}})
    EXPECT_FALSE(LayoutScrollBars(width, height, 17, 16).has_value()) << width << "x" << height;
}

// The full view has a margin of two tenths of the map on each side and
// eight-point text; a resize returns to it at magnification one.
TEST(MapView, FullViewHasTwoTenthsMarginAndResizeReturnsToIt) {
  ModelState s = SquareMapState(0, 0, 100, 90);
  RecordingSurface surface(800, 800);
  surface.SetFontSize(12), SetMapScale(surface, s);
  const ViewTransform full{-20, 120, 140, -140, 800, 800};
  EXPECT_EQ(std::tuple(surface.Transform(), surface.FontSize()), std::tuple(full, 8.0f));
  ZoomIn(surface, s), ScrollHorizontal(surface, s, 20000, 0, kBarMax),
      ScrollVertical(surface, s, 9000, 0, kBarMax);
  surface.Forget(), ResizeView(surface, s);
  EXPECT_EQ(std::tuple(surface.Transform(), s.Magnification), std::tuple(full, 1.0f));
  // The full picture is drawn again, and no magnification label with it.
  EXPECT_EQ(std::tuple(surface.Operations().at(0).kind, surface.OperationsOf(Kind::FilledBox).size(),
                       surface.PrintedTexts().size()),
            std::tuple(Kind::Clear, 0u, 23u))
      << "cleared first, no box, the title and 22 km labels";
}

// The menu's zooms keep the top-left corner and undo exactly. The wheel
// zooms about the pixel under the pointer and a drag moves the
// picture with the pointer: the lake point under the pointer where the
// gesture began lies under it where it ends (a zoom about the top-left
// corner would move every other point), and the label is printed.
TEST(MapView, ZoomsAboutTheTopLeftCornerUndoExactlyAndPointerGesturesKeepThePointUnderThePointer) {
  ModelState s = SquareMapState(-30.3, 17.7, 103.1, 99.9f);
  RecordingSurface surface = FullViewSurface(s);
  const ViewTransform full = surface.Transform();
  for (int n = 1; n <= 6; ++n) {
    for (int k = 0; k < n; ++k) ZoomIn(surface, s);
    EXPECT_EQ(std::tuple(s.Magnification, surface.ScaleLeft(), surface.ScaleTop(), surface.ScaleWidth()),
              std::tuple(std::ldexp(1.0f, n), full.left, full.top, full.width / std::ldexp(1.0f, n)))
        << n;
    for (int k = 0; k < n; ++k) ZoomOut(surface, s);
    EXPECT_EQ(std::tuple(surface.Transform(), s.Magnification), std::tuple(full, 1.0f)) << n;
  }
  // clang-format off
  const struct { double px, py; float factor; double dx, dy; } rows[] = {  // zoom factor or drag by (dx, dy)
      {400, 400, 2, 0, 0}, {400, 400, 0.5f, 0, 0}, {37, 611, 2, 0, 0}, {37, 611, 0.5f, 0, 0},
      {799, 5, 2, 0, 0}, {100, 200, 1, 30, -45}, {799, 5, 0.5f, 0, 0}};
  // clang-format on
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.px << "," << row.py << " factor " << row.factor);
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    surface.Transform().ToWorld(row.px, row.py, x0, y0);
    const float width = surface.ScaleWidth(), magnification = s.Magnification;
    row.factor == 1 ? PanByPixels(surface, s, row.dx, row.dy)
                    : ZoomAboutPixel(surface, s, row.px, row.py, row.factor > 1);
    surface.Transform().ToWorld(row.px + row.dx, row.py + row.dy, x1, y1);
    EXPECT_LT(std::hypot(x1 - x0, y1 - y0), 1e-4) << "the point moved";
    EXPECT_FLOAT_EQ(surface.ScaleWidth(), width / row.factor);
    EXPECT_EQ(std::tuple(s.Magnification, surface.PrintedTexts().back()),
              std::tuple(magnification * row.factor, MagnificationLabel(magnification * row.factor)));
  }
}

// The bars follow a view moved
// by the mouse: the position they are given scrolls back to the same view,
// and a view beyond the scroll world puts them at the nearer end.
TEST(MapView, ScrollValuesOfAViewAreTheInverseOfScrolling) {
  ModelState s = SquareMapState(-30.3, 17.7, 103.1, 97.2f);
  RecordingSurface surface = FullViewSurface(s);
  ZoomIn(surface, s);
  ZoomIn(surface, s);
  const auto values = [&] {
    return std::pair(HorizontalScrollValue(surface, s, 0, kBarMax),
                     VerticalScrollValue(surface, s, 0, kBarMax));
  };
  for (int value : {0, 50, 12345, 32767}) {
    ScrollHorizontal(surface, s, value, 0, kBarMax);
    ScrollVertical(surface, s, value, 0, kBarMax);
    EXPECT_EQ(values(), std::pair(value, value));
  }
  PanByPixels(surface, s, 5000, -5000);  // far west and south of the world
  EXPECT_EQ(values(), std::pair(0, kBarMax));
  SetMapScale(surface, s);
  ZoomOut(surface, s);  // larger than the scroll world: nothing to scroll
  EXPECT_EQ(HorizontalScrollValue(surface, s, 0, kBarMax), 0);
}

}  // namespace
}  // namespace lakedrift::test
