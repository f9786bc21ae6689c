#include "view/VelocityVectors.h"

#include <gtest/gtest.h>

#include <cmath>

#include "ViewTestStates.h"
#include "view/MapView.h"
#include "view/Palette.h"

namespace lakedrift::test {
namespace {

using Kind = RecordingSurface::Kind;
using Lines = std::vector<RecordingSurface::Operation>;

constexpr const char* kLegend = "VELOCITY SCALE: 1  CM/S";

// MapSize 80 and VectorScale 0.25: the fastest arrow is S = 20 km.
ModelState VectorState(const std::vector<TestNode>& nodes) {
  ModelState s = SquareMapState(0, 0, 100, 80);
  SetNodes(s, nodes);
  return s;
}

Lines DrawnLines(ModelState& s) {
  RecordingSurface surface = FullViewSurface(s);
  DrawVectors(surface, s);
  return surface.OperationsOf(Kind::Line);
}

// The angle of a line from its first point, in (-pi, pi].
double Angle(const RecordingSurface::Operation& line) {
  return std::atan2(double{line.y2} - line.y1, double{line.x2} - line.x1);
}

double Wrapped(double angle) { return std::remainder(angle, 2 * M_PI); }

TEST(VelocityVectors, ArrowLengthIsProportionalToSpeedAndBoundaryNodesGetNone) {
  ModelState s = VectorState({{30, 30, 0.2f, 0},
                              {40, 40, 0, -0.1f},
                              {50, 50, 5.0f, 5.0f, true},
                              {60, 60, 0.12f, 0.16f},
                              {70, 70, 0, 0}});
  const Lines lines = DrawnLines(s);
  ASSERT_EQ(lines.size(), 4u * 3 + 3);  // four arrows and the legend
  const double S = 20.0;
  EXPECT_NEAR(Length(lines[0]), S, 1e-5);
  EXPECT_NEAR(Length(lines[3]), S / 2, 1e-5);
  EXPECT_NEAR(Length(lines[6]), S, 1e-5);
  EXPECT_EQ(lines[6].x1, 60.0f);  // the boundary node 3 was skipped
  for (int arrow = 0; arrow < 3; ++arrow) {
    const double shaft = Length(lines[3 * arrow]);
    EXPECT_NEAR(Length(lines[3 * arrow + 1]), shaft / 4, 1e-5);
    EXPECT_NEAR(Length(lines[3 * arrow + 2]), shaft / 4, 1e-5);
    EXPECT_EQ(lines[3 * arrow + 1].x1, lines[3 * arrow].x2);  // barbs start at the tip
  }
  // A node at rest gets an arrow of no length at the node.
  for (int k = 9; k < 12; ++k) {
    EXPECT_EQ(lines[k].x1, 70.0f);
    EXPECT_EQ(lines[k].y1, 70.0f);
    EXPECT_EQ(Length(lines[k]), 0.0);
  }
}

// The direction uses 1.57, 3.14 and 6.28, and the barbs are 3.14 ± 0.6 from
// it; exact pi would turn the barbs by about 0.0016 rad.
TEST(VelocityVectors, BarbsFollowTheRoundedAngles) {
  struct Row {
    const char* name;
    float u, v;
    double theta;
  };
  const Row rows[] = {
      {"north", 0, 0.1f, 1.57},
      {"south", 0, -0.1f, -1.57},
      {"west", -0.1f, 0, 3.14},
      {"east", 0.1f, 0, 6.28},
      {"south-east", 0.1f, -0.1f, std::atan(-1.0) + 6.28},
      {"north-west", -0.1f, 0.1f, std::atan(-1.0) + 3.14},
      {"north-east", 0.1f, 0.1f, std::atan(1.0)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ModelState s = VectorState({{50, 50, row.u, row.v}});
    const Lines lines = DrawnLines(s);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_NEAR(Wrapped(Angle(lines[1]) - (row.theta + 3.14 + 0.6)), 0, 1e-5);
    EXPECT_NEAR(Wrapped(Angle(lines[2]) - (row.theta + 3.14 - 0.6)), 0, 1e-5);
  }
}

TEST(VelocityVectors, LegendIsTheArrowOfOneCentimetrePerSecondWithVertexAtItsStart) {
  for (double scale : {0.25, 0.5}) {
    SCOPED_TRACE(scale);
    ModelState s = VectorState({{50, 50, 0.2f, 0}});
    s.VectorScale = scale;
    RecordingSurface surface = FullViewSurface(s);
    DrawVectors(surface, s);
    const Lines lines = surface.OperationsOf(Kind::Line);
    ASSERT_EQ(lines.size(), 6u);
    const double legendLength = 0.01 * 80 * scale / 0.2;  // 1 km at scale 0.25
    const float yL = -12.5f;
    EXPECT_EQ(lines[3].x1, 0.0f);
    EXPECT_EQ(lines[3].y1, yL);
    EXPECT_NEAR(lines[3].x2, legendLength, 1e-6);
    for (int k = 4; k < 6; ++k) {
      EXPECT_EQ(lines[k].x1, 0.0f);  // the head opens at the start
      EXPECT_EQ(lines[k].y1, yL);
      EXPECT_NEAR(lines[k].x2, legendLength * 0.9 / 1.9, 1e-6);
      EXPECT_NEAR(std::fabs(lines[k].y2 - yL), 0.6 * legendLength / 1.9, 1e-5);
    }
    const auto prints = surface.OperationsOf(Kind::Print);
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(prints[0].text, kLegend);
    EXPECT_NEAR(prints[0].x1, 1.2 * legendLength, 1e-6);
    EXPECT_EQ(prints[0].y1, -10.0f);
    EXPECT_EQ(prints[0].state.foreColor, PaletteColour(kBlue));
  }
}

TEST(VelocityVectors, LegendTextDroppedWhenItsAnchorLeavesTheView) {
  ModelState s = VectorState({{50, 50, 0.2f, 0}});
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
    SCOPED_TRACE(maxSpeed);
    ModelState s = VectorState({{50, 50, 0, 0}, {60, 60, 0.3f, 0, true}});
    s.MaxSpeed = maxSpeed;
    RecordingSurface surface = FullViewSurface(s);
    surface.SetLineWidth(3);
    DrawVectors(surface, s);
    EXPECT_TRUE(surface.Operations().empty());
    EXPECT_EQ(s.VectorsShown, 1);
    EXPECT_EQ(surface.ForeColor(), PaletteColour(kBlue));
    EXPECT_EQ(surface.LineWidth(), 1);
  }
}

}  // namespace
}  // namespace lakedrift::test
