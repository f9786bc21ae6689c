#include "view/LakeMap.h"

#include <gtest/gtest.h>

#include "ViewTestStates.h"
#include "view/MapView.h"
#include "view/Palette.h"
#include "view/VelocityVectors.h"

namespace lakedrift::test {
namespace {

using Kind = RecordingSurface::Kind;
using Strings = std::vector<std::string>;

// The prints made at the anchor height of the x labels, in order.
Strings XLabels(const RecordingSurface& surface, const ModelState& s) {
  const float y = static_cast<float>(s.MapYMin - 0.025 * s.MapHeight);
  Strings labels;
  for (const auto& op : surface.OperationsOf(Kind::Print))
    if (op.y1 == y && op.text != s.RegionTitle) labels.push_back(op.text);
  return labels;
}

struct LabelRow {
  const char* name;
  double xMin;
  Strings expected;
};

TEST(LakeMap, XLabelsAreTruncatedGridPositions) {
  const LabelRow rows[] = {
      {"whole tens", -30, {"-30", "-20", "-10", " 0", " 10", " 20", " 30", " 40", " 50", " 60", " 70"}},
      {"positive half",
       10.5,
       {" 10", " 20", " 30", " 40", " 50", " 60", " 70", " 80", " 90", " 100", " 110"}},
      {"negative half truncates toward zero",
       -25.5,
       {"-25", "-15", "-5", " 4", " 14", " 24", " 34", " 44", " 54", " 64", " 74"}},
      {"minus zero prints as zero",
       -0.5,
       {" 0", " 9", " 19", " 29", " 39", " 49", " 59", " 69", " 79", " 89", " 99"}},
  };
  for (const LabelRow& row : rows) {
    SCOPED_TRACE(row.name);
    const ModelState s = SquareMapState(row.xMin, 0, 100, 100);
    RecordingSurface surface = FullViewSurface(s);
    DrawMap(surface, s);
    EXPECT_EQ(XLabels(surface, s), row.expected);
  }
}

TEST(LakeMap, YLabelsSitLeftOfTheMapAtEachGridLine) {
  const ModelState s = SquareMapState(0, -8850.5, 100, 100);
  RecordingSurface surface = FullViewSurface(s);
  DrawMap(surface, s);
  Strings labels;
  for (const auto& op : surface.OperationsOf(Kind::Print)) {
    if (op.x1 != static_cast<float>(s.MapXMin - 0.1 * s.MapWidth)) continue;
    labels.push_back(op.text);
    EXPECT_EQ(op.state.foreColor, PaletteColour(kLightBlue));
    EXPECT_EQ(op.state.fontSize, 8.0f);
  }
  EXPECT_EQ(labels, (Strings{"-8850", "-8840", "-8830", "-8820", "-8810", "-8800", "-8790", "-8780", "-8770",
                             "-8760", "-8750"}));
}

TEST(LakeMap, LabelsOutsideTheViewAreSkippedEdgesIncluded) {
  const ModelState s = SquareMapState(0, 0, 100, 100);
  RecordingSurface surface(800, 800);
  // x from 30 to 70 exactly; the x labels' row (y = -2.5) in view, the
  // y labels' column (x = -10) and the title out of it.
  surface.SetScale(30, 10, 40, -20);
  DrawMap(surface, s);
  EXPECT_EQ(surface.PrintedTexts(), (Strings{" 30", " 40", " 50", " 60", " 70"}));
}

TEST(LakeMap, GridIsDottedElevenLinesEachWayOverTheExtent) {
  const ModelState s = SquareMapState(-30, 20, 100, 100);
  RecordingSurface surface = FullViewSurface(s);
  DrawMap(surface, s);
  std::vector<RecordingSurface::Operation> grid;
  for (const auto& op : surface.OperationsOf(Kind::Line))
    if (op.state.lineStyle == LineStyle::Dotted) grid.push_back(op);
  ASSERT_EQ(grid.size(), 22u);
  for (int k = 0; k <= 10; ++k) {
    EXPECT_EQ(grid[k].x1, static_cast<float>(-30 + k * 10)) << k;
    EXPECT_EQ(grid[k].y1, 20.0f);
    EXPECT_EQ(grid[k].y2, 120.0f);
    EXPECT_EQ(grid[11 + k].y1, static_cast<float>(20 + k * 10)) << k;
    EXPECT_EQ(grid[11 + k].x1, -30.0f);
    EXPECT_EQ(grid[11 + k].x2, 70.0f);
  }
}

// The grid takes whatever colour is in force: the title's light blue when
// the title is drawn, else what the previous drawing left.
TEST(LakeMap, TitleVisibilityDecidesTheGridColour) {
  struct Row {
    const char* name;
    int zoomIns;
    bool vectorsShown;
    bool titleDrawn;
    Rgb grid;
  };
  const Row rows[] = {
      {"full view", 0, false, true, PaletteColour(kLightBlue)},
      {"full view after vectors", 0, true, true, PaletteColour(kLightBlue)},
      {"two zooms: title on the right edge, still drawn", 2, false, true, PaletteColour(kLightBlue)},
      {"three zooms lose the title", 3, false, false, PaletteColour(kBlack)},
      {"title lost after vectors", 3, true, false, PaletteColour(kBlue)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ModelState s = SquareMapState(0, 0, 100, 100);
    SetNodes(s, {{50, 50, 0.1f, 0}});
    s.VectorsShown = row.vectorsShown ? 1 : 0;
    RecordingSurface surface = FullViewSurface(s);
    Redraw(surface, s);  // what the view showed before
    for (int n = 0; n < row.zoomIns; ++n) ZoomIn(surface, s);
    surface.Forget();
    Redraw(surface, s);
    const Strings texts = surface.PrintedTexts();
    EXPECT_EQ(!texts.empty() && texts.front() == s.RegionTitle, row.titleDrawn);
    const auto lines = surface.OperationsOf(Kind::Line);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().state.lineStyle, LineStyle::Dotted);
    EXPECT_EQ(lines.front().state.foreColor, row.grid);
  }
}

TEST(LakeMap, TitleIsTenPointLightBlueAboveTheNorthWestCorner) {
  const ModelState s = SquareMapState(-30, 0, 100, 100);
  RecordingSurface surface = FullViewSurface(s);
  DrawMap(surface, s);
  const auto prints = surface.OperationsOf(Kind::Print);
  ASSERT_FALSE(prints.empty());
  EXPECT_EQ(prints[0].text, "LAKE TANGANYIKA");
  EXPECT_FLOAT_EQ(prints[0].x1, -15.0f);
  EXPECT_FLOAT_EQ(prints[0].y1, 115.0f);
  EXPECT_EQ(prints[0].state.fontSize, 10.0f);
  EXPECT_EQ(prints[0].state.foreColor, PaletteColour(kLightBlue));
}

TEST(LakeMap, CoastRingsCloseOnTheirOwnFirstPoint) {
  ModelState s = SquareMapState(0, 0, 100, 100);
  s.BoundaryRingCount = 3;
  s.BoundaryRingSize.Resize(3);
  s.BoundaryRingSize(1) = 4, s.BoundaryRingSize(2) = 3, s.BoundaryRingSize(3) = 1;
  s.BoundaryCount = 8;
  s.BoundaryX.Resize(8), s.BoundaryY.Resize(8);
  for (int j = 1; j <= 8; ++j) s.BoundaryX(j) = j, s.BoundaryY(j) = static_cast<float>(10 * j);
  RecordingSurface surface = FullViewSurface(s);
  DrawMap(surface, s);
  std::vector<std::pair<int, int>> segments;
  for (const auto& op : surface.OperationsOf(Kind::Line)) {
    if (op.state.lineStyle != LineStyle::Solid) continue;
    EXPECT_EQ(op.state.foreColor, PaletteColour(kBlack));
    segments.emplace_back(static_cast<int>(op.x1), static_cast<int>(op.x2));
  }
  const std::vector<std::pair<int, int>> expected = {{1, 2}, {2, 3}, {3, 4}, {4, 1},
                                                     {5, 6}, {6, 7}, {7, 5}, {8, 8}};
  EXPECT_EQ(segments, expected);
}

TEST(LakeMap, ClearsToWhiteFirstAndLeavesBlackSolidEightPoint) {
  const ModelState s = SquareMapState(0, 0, 100, 100);
  RecordingSurface surface = FullViewSurface(s);
  surface.SetBackColor(PaletteColour(kRed));
  surface.SetForeColor(PaletteColour(kGreen));
  surface.SetFontSize(12);
  DrawMap(surface, s);
  ASSERT_FALSE(surface.Operations().empty());
  EXPECT_EQ(surface.Operations().front().kind, Kind::Clear);
  EXPECT_EQ(surface.Operations().front().state.backColor, PaletteColour(kBrightWhite));
  EXPECT_EQ(surface.ForeColor(), PaletteColour(kBlack));
  EXPECT_EQ(surface.FontSize(), 8.0f);
  EXPECT_EQ(surface.GetLineStyle(), LineStyle::Solid);
}

}  // namespace
}  // namespace lakedrift::test
