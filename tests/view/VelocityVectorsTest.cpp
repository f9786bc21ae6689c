#include "view/VelocityVectors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "ViewTestStates.h"

namespace lakedrift::test {
namespace {

using Lines = std::vector<RecordingSurface::Operation>;

// MapSize 80 and VectorScale 0.25: the fastest arrow is 20 km.
std::pair<RecordingSurface, ModelState> DrawnVectors(const std::vector<TestNode>& nodes,
                                                     double scale = 0.25) {
  std::pair<RecordingSurface, ModelState> drawn{RecordingSurface(800, 800), SquareMapState(0, 0, 100, 80)};
  auto& [surface, s] = drawn;
  SetNodes(s, nodes);
  s.VectorScale = scale;
  SetMapScale(surface, s);
  DrawVectors(surface, s);
  return drawn;
}

double Length(const RecordingSurface::Operation& line) {
  return std::hypot(double{line.x2} - line.x1, double{line.y2} - line.y1);
}

TEST(VelocityVectors, ArrowLengthIsProportionalToSpeedAndBoundaryNodesGetNone) {
  const auto [surface, s] = DrawnVectors({{30, 30, 0.2f, 0},
                                          {40, 40, 0, -0.1f},
                                          {50, 50, 5.0f, 5.0f, true},
                                          {60, 60, 0.12f, 0.16f},
                                          {70, 70, 0, 0}});
  const Lines lines = surface.OperationsOf(Kind::Line);
  ASSERT_EQ(lines.size(), 4u * 3 + 3);  // four arrows and the legend
  std::vector<double> lengths;          // to 1e-4 km
  for (size_t k = 0; k < 12; ++k) lengths.push_back(std::round(Length(lines[k]) * 1e4) / 1e4);
  EXPECT_EQ(lengths, (std::vector<double>{20, 5, 5, 10, 2.5, 2.5, 20, 5, 5, 0, 0, 0}))
      << "shafts in proportion to speed, barbs a quarter of them, none for a node at rest";
  EXPECT_EQ((std::vector{lines[0].x1, lines[3].x1, lines[6].x1, lines[9].x1, lines[11].y1}),
            (std::vector{30.0f, 40.0f, 60.0f, 70.0f, 70.0f}))
      << "arrows start at their nodes, the boundary node 3 skipped";
  for (size_t k = 1; k < 12; k += 3)
    EXPECT_EQ(std::tuple(lines[k].x1, lines[k].y1, lines[k + 1].x1, lines[k + 1].y1),
              std::tuple(lines[k - 1].x2, lines[k - 1].y2, lines[k - 1].x2, lines[k - 1].y2))
        << "the barbs start at the tip";
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
    const Lines lines = DrawnVectors({{50, 50, row.u, row.v}}).first.OperationsOf(Kind::Line);
    ASSERT_GE(lines.size(), 3u);
    for (size_t k : {1, 2}) {
      const double angle = std::atan2(double{lines[k].y2} - lines[k].y1, double{lines[k].x2} - lines[k].x1);
      EXPECT_NEAR(std::remainder(angle - (row.theta + 3.14 + (k == 1 ? 0.6 : -0.6)), 2 * M_PI), 0, 1e-5) << k;
    }
  }
}

TEST(VelocityVectors, LegendIsTheArrowOfOneCentimetrePerSecondWithVertexAtItsStart) {
  for (double scale : {0.25, 0.5}) {
    SCOPED_TRACE(scale);
    const auto [surface, s] = DrawnVectors({{50, 50, 0.2f, 0}}, scale);
    const Lines lines = surface.OperationsOf(Kind::Line);
    ASSERT_EQ(lines.size(), 6u);
    const double legendLength = 0.01 * 80 * scale / 0.2;  // 1 km at scale 0.25
    const float yL = -12.5f;
    EXPECT_EQ(std::tuple(lines[3].x1, lines[3].y1), std::tuple(0.0f, yL));
    EXPECT_NEAR(lines[3].x2, legendLength, 1e-6);
    for (size_t k = 4; k < 6; ++k) {
      EXPECT_EQ(std::tuple(lines[k].x1, lines[k].y1), std::tuple(0.0f, yL)) << "the head opens at the start";
      EXPECT_NEAR(lines[k].x2, legendLength * 0.9 / 1.9, 1e-6);
      EXPECT_NEAR(std::fabs(lines[k].y2 - yL), 0.6 * legendLength / 1.9, 1e-5);
    }
    const auto prints = surface.OperationsOf(Kind::Print);
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(std::tuple(prints[0].text, prints[0].y1, prints[0].state.foreColor),
              std::tuple("VELOCITY SCALE: 1  CM/S", -10.0f, PaletteColour(kBlue)));
    EXPECT_NEAR(prints[0].x1, 1.2 * legendLength, 1e-6);
  }
}

TEST(VelocityVectors, LegendTextDroppedWhenItsAnchorLeavesTheView) {
  ModelState s = SquareMapState(0, 0, 100, 80);
  SetNodes(s, {{50, 50, 0.2f, 0}});
  RecordingSurface surface = FullViewSurface(s);
  s.VectorsShown = 1;
  ZoomIn(surface, s);  // the view's bottom edge is now north of the legend
  surface.Forget();
  DrawVectors(surface, s);
  EXPECT_TRUE(surface.PrintedTexts().empty());
  EXPECT_EQ(surface.OperationsOf(Kind::Line).size(), 6u);  // legend lines still drawn
}

TEST(VelocityVectors, NoPositiveMaxSpeedDrawsNothingButStillMarksVectorsShown) {
  for (double maxSpeed : {0.0, -1e20}) {
    ModelState s = SquareMapState(0, 0, 100, 80);
    SetNodes(s, {{50, 50, 0, 0}, {60, 60, 0.3f, 0, true}});
    s.MaxSpeed = maxSpeed;
    RecordingSurface surface = FullViewSurface(s);
    surface.SetLineWidth(3);
    DrawVectors(surface, s);
    EXPECT_TRUE(surface.Operations().empty()) << maxSpeed;
    EXPECT_EQ(std::tuple(s.VectorsShown, surface.ForeColor(), surface.LineWidth()),
              std::tuple(int16_t{1}, PaletteColour(kBlue), 1))
        << maxSpeed;
  }
}

}  // namespace
}  // namespace lakedrift::test
