#include "view/VelocityVectors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "ViewTestStates.h"

namespace lakedrift::test {
namespace {

using Lines = std::vector<RecordingSurface::Operation>;

// The vectors alone, drawn on the full view zoomed in `zoomIns` times. MapSize
// 80 and VectorScale 0.25: the fastest arrow is 20 km.
RecordingSurface DrawnVectors(const std::vector<TestNode>& nodes, double scale = 0.25, int zoomIns = 0) {
  ModelState s = SquareMapState(0, 0, 100, 80);
  SetNodes(s, nodes);
  s.VectorScale = scale;
  RecordingSurface surface = FullViewSurface(s);
  for (int k = 0; k < zoomIns; ++k) ZoomIn(surface, s);
  surface.Forget();
  DrawVectors(surface, s);
  return surface;
}

// Values to 1e-5 km, to compare whole lines.
std::vector<double> Rounded(std::vector<double> values) {
  for (double& value : values) value = std::round(value * 1e5) / 1e5;
  return values;
}

// Shafts in proportion to speed from their interior nodes, none for a node
// at rest; barbs a quarter as long from the tip, 3.14 ± 0.6 from the
// direction, which uses 1.57, 3.14 and 6.28: exact pi would turn the barbs
// by about 0.0016 rad.
TEST(VelocityVectors, ArrowsFollowSpeedAndTheRoundedAnglesAndBoundaryNodesGetNone) {
  const double slope = std::atan(-0.75);
  // clang-format off
  const struct { float at, u, v; double length, theta; } arrows[] = {  // at (at, at), in order
      {30, 0.2f, 0, 20, 6.28}, {40, 0, -0.1f, 10, -1.57}, {60, 0.12f, 0.16f, 20, std::atan(0.16 / 0.12)},
      {65, 0, 0.1f, 10, 1.57}, {70, -0.1f, 0, 10, 3.14}, {75, 0.16f, -0.12f, 20, slope + 6.28},
      {80, -0.16f, 0.12f, 20, slope + 3.14}, {85, 0, 0, 0, 0}};
  // clang-format on
  std::vector<TestNode> nodes;
  for (const auto& a : arrows) nodes.push_back({a.at, a.at, a.u, a.v});
  nodes.insert(nodes.begin() + 3, {50, 50, 5.0f, 5.0f, true});  // no arrow, nor counted in the fastest
  const Lines lines = DrawnVectors(nodes).OperationsOf(Kind::Line);
  ASSERT_EQ(lines.size(), std::size(arrows) * 3 + 3);  // and the legend
  for (size_t k = 0; k < 3 * std::size(arrows); ++k) {
    const auto &line = lines[k], &shaft = lines[k - k % 3];
    const auto& a = arrows[k / 3];
    EXPECT_EQ(Rounded({std::hypot(line.x2 - line.x1, line.y2 - line.y1), line.x1, line.y1}),
              Rounded({a.length * (k % 3 ? 0.25 : 1), k % 3 ? shaft.x2 : a.at, k % 3 ? shaft.y2 : a.at}))
        << "line " << k << ": length and start";
    const double angle = std::atan2(double{line.y2} - line.y1, double{line.x2} - line.x1);
    const double barb = a.theta + 3.14 + (k % 3 == 1 ? 0.6 : -0.6);
    EXPECT_TRUE(k % 3 == 0 || a.length == 0 || std::fabs(std::remainder(angle - barb, 2 * M_PI)) < 1e-5)
        << "line " << k << ": barb angle";
  }
}

// The legend's text is dropped when its anchor leaves the view, its lines not.
TEST(VelocityVectors, LegendIsTheArrowOfOneCentimetrePerSecondWithVertexAtItsStart) {
  for (auto [scale, zoomIns] : {std::pair{0.25, 0}, {0.5, 0}, {0.25, 1}}) {
    SCOPED_TRACE(testing::Message() << scale << " zoomed in " << zoomIns);
    const RecordingSurface surface = DrawnVectors({{50, 50, 0.2f, 0}}, scale, zoomIns);
    const Lines lines = surface.OperationsOf(Kind::Line);
    ASSERT_EQ(lines.size(), 6u);
    const double length = 0.01 * 80 * scale / 0.2, yL = -12.5;  // 1 km at scale 0.25
    const double headX = length * 0.9 / 1.9, headY = length * 0.6 / 1.9;
    std::vector<std::vector<double>> legend;  // the head opens at the start
    for (size_t k = 3; k < 6; ++k)
      legend.push_back(Rounded({lines[k].x1, lines[k].y1, lines[k].x2, lines[k].y2}));
    EXPECT_EQ(legend, (std::vector{Rounded({0, yL, length, yL}), Rounded({0, yL, headX, yL + headY}),
                                   Rounded({0, yL, headX, yL - headY})}));
    const auto prints = surface.OperationsOf(Kind::Print);
    ASSERT_EQ(prints.size(), zoomIns ? 0u : 1u) << "the view's bottom edge north of the legend when zoomed";
    if (zoomIns) continue;
    EXPECT_EQ(std::tuple(prints[0].text, Rounded({prints[0].x1, prints[0].y1}), prints[0].state.foreColor),
              std::tuple("VELOCITY SCALE: 1  CM/S", Rounded({1.2 * length, -10}), PaletteColour(kBlue)));
  }
}

TEST(VelocityVectors, NoPositiveMaxSpeedDrawsNothingButStillMarksVectorsShown) {
  for (double maxSpeed : {0.0, -1e20}) {
    ModelState s = SquareMapState(0, 0, 100, 80);
    SetNodes(s, {{50, 50, 0, 0}, {60, 60, 0.3f, 0, true}}), s.MaxSpeed = maxSpeed;
    RecordingSurface surface = FullViewSurface(s);
    surface.SetLineWidth(3), DrawVectors(surface, s);
    EXPECT_EQ(
        std::tuple(surface.Operations().size(), s.VectorsShown, surface.ForeColor(), surface.LineWidth()),
        std::tuple(0u, int16_t{1}, PaletteColour(kBlue), 1))
        << maxSpeed;
  }
}

}  // namespace
}  // namespace lakedrift::test
