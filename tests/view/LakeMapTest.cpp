#include "view/LakeMap.h"

#include <gtest/gtest.h>

#include <tuple>

#include "ViewTestStates.h"

namespace lakedrift::test {
namespace {

using Segment = std::tuple<float, float, float, float, Rgb>;  // ends and colour

// The lines drawn in a style, in order.
std::vector<Segment> Segments(const RecordingSurface& surface, LineStyle style) {
  std::vector<Segment> segments;
  for (const auto& op : surface.OperationsOf(Kind::Line))
    if (op.state.lineStyle == style) segments.push_back({op.x1, op.y1, op.x2, op.y2, op.state.foreColor});
  return segments;
}

// The texts printed at y = at (the x labels) or x = at (the y labels), in order.
Strings PrintedAt(const RecordingSurface& surface, float RecordingSurface::Operation::*axis, float at) {
  Strings texts;
  for (const auto& op : surface.OperationsOf(Kind::Print))
    if (op.*axis == at) texts.push_back(op.text);
  return texts;
}

// Labels are the grid positions truncated toward zero, minus zero as zero.
TEST(LakeMap, XLabelsAreTruncatedGridPositionsInView) {
  // clang-format off
  const std::pair<double, Strings> rows[] = {
      {-30, {"-30", "-20", "-10", " 0", " 10", " 20", " 30", " 40", " 50", " 60", " 70"}},
      {-25.5, {"-25", "-15", "-5", " 4", " 14", " 24", " 34", " 44", " 54", " 64", " 74"}},
      {-0.5, {" 0", " 9", " 19", " 29", " 39", " 49", " 59", " 69", " 79", " 89", " 99"}},
  };
  // clang-format on
  for (const auto& [xMin, expected] : rows) {
    const ModelState s = SquareMapState(xMin, 0, 100, 100);
    RecordingSurface surface = FullViewSurface(s);
    DrawMap(surface, s);
    EXPECT_EQ(PrintedAt(surface, &RecordingSurface::Operation::y1, -2.5f), expected) << xMin;
  }
}

// The whole map of a full view: cleared to white first, title, eleven
// dotted grid lines each way, the coast, y labels, and the state it leaves.
TEST(LakeMap, FullViewIsClearedTitledGriddedAndLabelled) {
  const ModelState s = SquareMapState(-30, -8850.5, 100, 100);
  const Rgb lightBlue = PaletteColour(kLightBlue), black = PaletteColour(kBlack);
  RecordingSurface surface = FullViewSurface(s);
  surface.SetBackColor(PaletteColour(kRed)), surface.SetForeColor(PaletteColour(kGreen)),
      surface.SetFontSize(12);
  DrawMap(surface, s);
  const auto& clear = surface.Operations().front();
  EXPECT_EQ(std::tuple(clear.kind, clear.state.backColor, surface.ForeColor(), surface.FontSize(),
                       surface.GetLineStyle()),
            std::tuple(Kind::Clear, PaletteColour(kBrightWhite), black, 8.0f, LineStyle::Solid))
      << "cleared to white first; black solid eight-point left behind";
  const auto title = surface.OperationsOf(Kind::Print).front();
  EXPECT_EQ(std::tuple(title.text, title.x1, title.y1), std::tuple(s.RegionTitle, -15.0f, -8735.5f))
      << "above the north-west corner";
  for (const auto& op : surface.OperationsOf(Kind::Print))
    EXPECT_EQ(std::tuple(op.state.foreColor, op.state.fontSize),
              std::tuple(lightBlue, op.text == s.RegionTitle ? 10.0f : 8.0f))
        << op.text << ": the title ten-point, labels eight, all light blue";
  std::vector<Segment> grid;
  for (float k = 0; k <= 10; ++k) grid.push_back({-30 + 10 * k, -8850.5f, -30 + 10 * k, -8750.5f, lightBlue});
  for (float k = 0; k <= 10; ++k) grid.push_back({-30, -8850.5f + 10 * k, 70, -8850.5f + 10 * k, lightBlue});
  EXPECT_EQ(Segments(surface, LineStyle::Dotted), grid);
  // Each coast ring closes on its own first point.
  const std::vector<Segment> coast = {{1, 10, 2, 20, black}, {2, 20, 3, 30, black}, {3, 30, 4, 40, black},
                                      {4, 40, 1, 10, black}, {5, 50, 6, 60, black}, {6, 60, 7, 70, black},
                                      {7, 70, 5, 50, black}, {8, 80, 8, 80, black}};
  EXPECT_EQ(Segments(surface, LineStyle::Solid), coast);
  // The y labels a tenth of the width left of the map.
  EXPECT_EQ(PrintedAt(surface, &RecordingSurface::Operation::x1, -40),
            (Strings{"-8850", "-8840", "-8830", "-8820", "-8810", "-8800", "-8790", "-8780", "-8770", "-8760",
                     "-8750"}));
}

// The grid takes whatever colour is in force: the title's light blue when
// the title is drawn, else what the previous drawing left; a redraw draws
// the vectors (blue) only once they are shown.
TEST(LakeMap, TitleVisibilityDecidesTheGridColour) {
  // clang-format off
  const struct { const char* name; int zoomIns; bool vectorsShown, titleDrawn; int grid; } rows[] = {
      {"full view", 0, false, true, kLightBlue},
      {"full view after vectors", 0, true, true, kLightBlue},
      {"two zooms: title on the right edge, still drawn", 2, false, true, kLightBlue},
      {"three zooms lose the title", 3, false, false, kBlack},
      {"title lost after vectors", 3, true, false, kBlue}};
  // clang-format on
  for (const auto& row : rows) {
    ModelState s = SquareMapState(0, 0, 100, 100);
    SetNodes(s, {{50, 50, 0.1f, 0}}), s.VectorsShown = row.vectorsShown;
    RecordingSurface surface = FullViewSurface(s);
    Redraw(surface, s);  // what the view showed before
    for (int n = 0; n < row.zoomIns; ++n) ZoomIn(surface, s);
    surface.Forget(), Redraw(surface, s);
    const Strings texts = surface.PrintedTexts();
    const auto lines = surface.OperationsOf(Kind::Line);
    ASSERT_FALSE(lines.empty()) << row.name;
    EXPECT_EQ(std::tuple(!texts.empty() && texts.front() == s.RegionTitle, lines.front().state.lineStyle,
                         lines.front().state.foreColor, lines.back().state.foreColor == PaletteColour(kBlue)),
              std::tuple(row.titleDrawn, LineStyle::Dotted, PaletteColour(row.grid), row.vectorsShown))
        << row.name << ": title drawn, grid style and colour, vectors drawn";
  }
}

}  // namespace
}  // namespace lakedrift::test
