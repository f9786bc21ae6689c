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

TEST(VelocityVectors, ArrowLengthIsProportionalToSpeedAndBoundaryNodesGetNone) {
  // clang-format off
  const Lines lines = DrawnVectors({{30, 30, 0.2f, 0}, {40, 40, 0, -0.1f}, {50, 50, 5.0f, 5.0f, true},
                                    {60, 60, 0.12f, 0.16f}, {70, 70, 0, 0}}).OperationsOf(Kind::Line);
  // clang-format on
  ASSERT_EQ(lines.size(), 4u * 3 + 3);  // four arrows and the legend
  std::vector<double> lengths;
  std::vector<std::pair<float, float>> starts, expectedStarts;
  const float nodes[] = {30, 40, 60, 70};  // the boundary node 50 skipped
  for (size_t k = 0; k < 12; ++k) {
    const auto& shaft = lines[k - k % 3];
    lengths.push_back(std::hypot(lines[k].x2 - lines[k].x1, lines[k].y2 - lines[k].y1));
    starts.emplace_back(lines[k].x1, lines[k].y1);
    expectedStarts.push_back(k % 3 ? std::pair(shaft.x2, shaft.y2) : std::pair(nodes[k / 3], nodes[k / 3]));
  }
  EXPECT_EQ(Rounded(lengths), (std::vector<double>{20, 5, 5, 10, 2.5, 2.5, 20, 5, 5, 0, 0, 0}))
      << "shafts in proportion to speed, barbs a quarter of them, none for a node at rest";
  EXPECT_EQ(starts, expectedStarts) << "arrows start at their interior nodes, barbs at the tip";
}

// The direction uses 1.57, 3.14 and 6.28, and the barbs are 3.14 ± 0.6 from
// it; exact pi would turn the barbs by about 0.0016 rad.
TEST(VelocityVectors, BarbsFollowTheRoundedAngles) {
  // clang-format off
  const struct { const char* name; float u, v; double theta; } rows[] = {
      {"north", 0, 0.1f, 1.57}, {"south", 0, -0.1f, -1.57}, {"west", -0.1f, 0, 3.14}, {"east", 0.1f, 0, 6.28},
      {"south-east", 0.1f, -0.1f, std::atan(-1.0) + 6.28}, {"north-west", -0.1f, 0.1f, std::atan(-1.0) + 3.14},
      {"north-east", 0.1f, 0.1f, std::atan(1.0)}};
  // clang-format on
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const Lines lines = DrawnVectors({{50, 50, row.u, row.v}}).OperationsOf(Kind::Line);
    ASSERT_GE(lines.size(), 3u);
    for (size_t k : {1, 2}) {
      const double angle = std::atan2(double{lines[k].y2} - lines[k].y1, double{lines[k].x2} - lines[k].x1);
      EXPECT_NEAR(std::remainder(angle - (row.theta + 3.14 + (k == 1 ? 0.6 : -0.6)), 2 * M_PI), 0, 1e-5) << k;
    }
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
    SetNodes(s, {{50, 50, 0, 0}, {60, 60, 0.3f, 0, true}});
    s.MaxSpeed = maxSpeed;
    RecordingSurface surface = FullViewSurface(s);
    surface.SetLineWidth(3);
    DrawVectors(surface, s);
    EXPECT_EQ(
        std::tuple(surface.Operations().size(), s.VectorsShown, surface.ForeColor(), surface.LineWidth()),
        std::tuple(0u, int16_t{1}, PaletteColour(kBlue), 1))
        << maxSpeed;
  }
}

}  // namespace
}  // namespace lakedrift::test
