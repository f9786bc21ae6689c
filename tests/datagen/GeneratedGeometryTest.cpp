// Properties of the generated geometry files, read back through the
// program's own reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <utility>

#include "model/GeometryReader.h"
#include "model/ModelState.h"
#include "support/TestPaths.h"

namespace lakedrift {
namespace {

using test::SampleDataPath;

struct RegionFile {
  const char* name;
  int expectedRings;  // the shore and the islands inside the region
  // The closest two neighbouring interior nodes may come in the full view
  // of an 800 × 800 picture, pixels: the whole lake keeps a few nodes close
  // together round its small islands, where the angle bound needs them.
  double closestInteriorPx;
};

void PrintTo(const RegionFile& file, std::ostream* os) { *os << file.name; }

class GeneratedGeometryTest : public ::testing::TestWithParam<RegionFile> {
 protected:
  void SetUp() override {
    const Status status = ReadGeometry(state_, SampleDataPath(GetParam().name));
    ASSERT_TRUE(status.ok()) << status.message();
  }
  double Cross(int e) const {
    const int a = state_.ElemNode(1, e), b = state_.ElemNode(2, e), c = state_.ElemNode(3, e);
    return (state_.NodeX(b) - state_.NodeX(a)) * (state_.NodeY(c) - state_.NodeY(a)) -
           (state_.NodeX(c) - state_.NodeX(a)) * (state_.NodeY(b) - state_.NodeY(a));
  }
  ModelState state_;
};

TEST_P(GeneratedGeometryTest, CountsFitTheFileFormatAndAddUp) {
  EXPECT_GT(state_.NodeCount, 100);
  EXPECT_LT(state_.NodeCount, kMaxItemNumber);
  EXPECT_LT(state_.ElementCount, kMaxItemNumber);
  EXPECT_LT(state_.BoundaryCount, kMaxItemNumber);
  EXPECT_EQ(state_.BoundaryRingCount, GetParam().expectedRings);
  int sum = 0;
  for (int r = 1; r <= state_.BoundaryRingCount; ++r) {
    EXPECT_GE(state_.BoundaryRingSize(r), 3) << "ring " << r;
    sum += state_.BoundaryRingSize(r);
  }
  EXPECT_EQ(sum, state_.BoundaryCount);
  // Euler's formula for a triangulated disc with holes:
  // E = 2N - B - 2 + 2·holes.
  const int holes = state_.BoundaryRingCount - 1;
  EXPECT_EQ(state_.ElementCount, 2 * state_.NodeCount - state_.BoundaryCount - 2 + 2 * holes);
}

TEST_P(GeneratedGeometryTest, ElementsAreCounterClockwiseWithValidNodes) {
  for (int e = 1; e <= state_.ElementCount; ++e) {
    for (int j = 1; j <= 3; ++j) {
      ASSERT_GE(state_.ElemNode(j, e), 1);
      ASSERT_LE(state_.ElemNode(j, e), state_.NodeCount);
    }
    ASSERT_GT(Cross(e), 0.0) << "element " << e << " is clockwise or flat";
  }
}

TEST_P(GeneratedGeometryTest, MeshQualityMeetsTheAngleBound) {
  constexpr double kMinAngleDeg = 20.0;
  double smallest = 180.0;
  for (int e = 1; e <= state_.ElementCount; ++e) {
    for (int j = 1; j <= 3; ++j) {
      const int a = state_.ElemNode(j, e);
      const int b = state_.ElemNode(j % 3 + 1, e);
      const int c = state_.ElemNode((j + 1) % 3 + 1, e);
      const double ux = state_.NodeX(b) - state_.NodeX(a), uy = state_.NodeY(b) - state_.NodeY(a);
      const double vx = state_.NodeX(c) - state_.NodeX(a), vy = state_.NodeY(c) - state_.NodeY(a);
      const double angle = std::atan2(std::abs(ux * vy - uy * vx), ux * vx + uy * vy);
      smallest = std::min(smallest, angle * 180.0 / M_PI);
    }
  }
  // Rounding the coordinates to 0.1 m in the file may cost a hair of angle.
  EXPECT_GE(smallest, kMinAngleDeg - 0.05);
}

TEST_P(GeneratedGeometryTest, NeighboursAreSymmetricAndShareTheirEdge) {
  int coastEdges = 0;
  for (int e = 1; e <= state_.ElementCount; ++e) {
    for (int j = 1; j <= 3; ++j) {
      const int g = state_.ElemNeighbour(j, e);
      const int a = state_.ElemNode(j, e);
      const int b = state_.ElemNode(j % 3 + 1, e);
      if (g == 0) {
        ++coastEdges;
        continue;
      }
      ASSERT_GE(g, 1);
      ASSERT_LE(g, state_.ElementCount);
      ASSERT_NE(g, e);
      // g must hold the same edge in the opposite direction, with e across it.
      bool found = false;
      for (int k = 1; k <= 3; ++k) {
        if (state_.ElemNode(k, g) == b && state_.ElemNode(k % 3 + 1, g) == a) {
          EXPECT_EQ(state_.ElemNeighbour(k, g), e) << "element " << g << " edge " << k;
          found = true;
        }
      }
      EXPECT_TRUE(found) << "element " << e << " edge " << j << " is not an edge of " << g;
    }
  }
  // Every coast edge joins two consecutive boundary points.
  EXPECT_EQ(coastEdges, state_.BoundaryCount);
}

TEST_P(GeneratedGeometryTest, CoastRingsAreExactlyTheMeshBoundary) {
  // The directed coast edges of the elements (water on the left) ...
  std::set<std::pair<int, int>> meshCoast;
  std::map<std::pair<int, int>, int> edgeUse;
  for (int e = 1; e <= state_.ElementCount; ++e) {
    for (int j = 1; j <= 3; ++j) {
      const int a = state_.ElemNode(j, e);
      const int b = state_.ElemNode(j % 3 + 1, e);
      ++edgeUse[{std::min(a, b), std::max(a, b)}];
      if (state_.ElemNeighbour(j, e) == 0) meshCoast.insert({a, b});
    }
  }
  // ... are exactly the ring edges, each ring closing on its first point.
  std::set<std::pair<int, int>> ringEdges;
  int first = 1;
  for (int r = 1; r <= state_.BoundaryRingCount; ++r) {
    const int size = state_.BoundaryRingSize(r);
    for (int i = 0; i < size; ++i) {
      const int b = first + i;
      const int next = first + (i + 1) % size;
      ASSERT_EQ(state_.NodeX(state_.BoundaryNode(b)), state_.BoundaryX(b));
      ASSERT_FLOAT_EQ(static_cast<float>(state_.NodeY(state_.BoundaryNode(b))), state_.BoundaryY(b));
      ringEdges.insert({state_.BoundaryNode(b), state_.BoundaryNode(next)});
    }
    first += size;
  }
  EXPECT_EQ(ringEdges, meshCoast);
  // An edge used by one element only must be on the coast.
  for (const auto& [edge, uses] : edgeUse) {
    ASSERT_LE(uses, 2);
    if (uses == 1) {
      EXPECT_TRUE(meshCoast.count(edge) + meshCoast.count({edge.second, edge.first}) == 1);
    }
  }
  // Each boundary point is a distinct node.
  std::set<int> nodes;
  for (int b = 1; b <= state_.BoundaryCount; ++b) nodes.insert(state_.BoundaryNode(b));
  EXPECT_EQ(static_cast<int>(nodes.size()), state_.BoundaryCount);
}

TEST_P(GeneratedGeometryTest, ShoreEnclosesTheIslandsAndTheMesh) {
  // Ring 1 runs counter-clockwise round the water, islands clockwise; the
  // mesh area equals the shore's area less the islands'.
  std::vector<double> ringArea;
  int first = 1;
  for (int r = 1; r <= state_.BoundaryRingCount; ++r) {
    const int size = state_.BoundaryRingSize(r);
    double twice = 0.0;
    for (int i = 0; i < size; ++i) {
      const int b = first + i, c = first + (i + 1) % size;
      twice += state_.BoundaryX(b) * state_.BoundaryY(c) - state_.BoundaryX(c) * state_.BoundaryY(b);
    }
    ringArea.push_back(0.5 * twice);
    first += size;
  }
  ASSERT_FALSE(ringArea.empty());
  EXPECT_GT(ringArea[0], 0.0);
  double water = ringArea[0];
  for (std::size_t r = 1; r < ringArea.size(); ++r) {
    EXPECT_LT(ringArea[r], 0.0) << "island " << r;
    water += ringArea[r];
  }
  double meshArea = 0.0;
  for (int e = 1; e <= state_.ElementCount; ++e) meshArea += 0.5 * Cross(e);
  EXPECT_NEAR(meshArea, water, 1e-6 * water);
}

TEST_P(GeneratedGeometryTest, CoastStartsAtTheOriginAndLiesInsideTheMapExtent) {
  double xMin = state_.BoundaryX(1), yMin = state_.BoundaryY(1);
  for (int b = 1; b <= state_.BoundaryCount; ++b) {
    xMin = std::min(xMin, state_.BoundaryX(b));
    yMin = std::min(yMin, double(state_.BoundaryY(b)));
    ASSERT_GE(state_.BoundaryX(b), state_.MapXMin) << "boundary point " << b;
    ASSERT_LE(state_.BoundaryX(b), state_.MapXMax) << "boundary point " << b;
    ASSERT_GE(state_.BoundaryY(b), state_.MapYMin) << "boundary point " << b;
    ASSERT_LE(state_.BoundaryY(b), state_.MapYMax) << "boundary point " << b;
  }
  EXPECT_EQ(xMin, 0.0);
  EXPECT_EQ(yMin, 0.0);
  EXPECT_EQ(state_.Georef.rfind("+proj=", 0), 0u) << state_.Georef;
}

TEST_P(GeneratedGeometryTest, InteriorNodesStandApartInTheFullView) {
  // The full view spans 1.4 map widths over 800 pixels; every interior node
  // gets an arrow. At most 5 % of the neighbouring interior pairs may come
  // closer than 6 pixels, and none closer than the region's own bound.
  constexpr double kFullViewSpan = 1.4, kPicturePixels = 800.0, kArrowGapPx = 6.0;
  constexpr double kMaxCloseShare = 0.05;
  const double kmPerPixel = kFullViewSpan * state_.MapWidth / kPicturePixels;
  std::set<std::pair<int, int>> pairs;
  for (int e = 1; e <= state_.ElementCount; ++e) {
    for (int j = 1; j <= 3; ++j) {
      const int a = state_.ElemNode(j, e), b = state_.ElemNode(j % 3 + 1, e);
      if (!state_.IsBoundaryNode(a) && !state_.IsBoundaryNode(b)) pairs.insert(std::minmax(a, b));
    }
  }
  ASSERT_FALSE(pairs.empty());
  double closest = std::numeric_limits<double>::infinity();
  int close = 0;
  for (const auto& [a, b] : pairs) {
    const double px =
        std::hypot(state_.NodeX(a) - state_.NodeX(b), state_.NodeY(a) - state_.NodeY(b)) / kmPerPixel;
    closest = std::min(closest, px);
    close += px < kArrowGapPx ? 1 : 0;
  }
  EXPECT_GE(closest, GetParam().closestInteriorPx);
  EXPECT_LE(close, kMaxCloseShare * static_cast<double>(pairs.size()))
      << close << " of " << pairs.size() << " neighbouring arrows closer than 6 px";
}

INSTANTIATE_TEST_SUITE_P(Regions, GeneratedGeometryTest,
                         ::testing::Values(RegionFile{"geomtan.inp", 4, 1.5},
                                           RegionFile{"geommal.inp", 1, 6.0},
                                           RegionFile{"geomzam.inp", 3, 6.0}),
                         [](const auto& p) { return std::string(p.param.name).substr(0, 7); });

}  // namespace
}  // namespace lakedrift
