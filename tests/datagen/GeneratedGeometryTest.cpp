// The generated geometry files read back through the program's own reader:
// a valid mesh whose coast rings are its boundary, arrows that stand apart,
// and a georef line that puts a known place where the map shows it.
#include <gtest/gtest.h>
#include <proj.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <utility>

#include "model/GeometryReader.h"
#include "model/ModelState.h"
#include "model/PointInLake.h"
#include "support/TestPaths.h"

namespace lakedrift {
namespace {

// The Malagarasi enters the lake from the east here.
constexpr double kMouthLongitude = 29.8017, kMouthLatitude = -5.2564;

struct RegionFile {
  const char* name;
  int rings;  // the shore and the islands inside the region
  // The closest two neighbouring interior nodes may come in the full view
  // of an 800 × 800 picture, pixels: the whole lake keeps a few nodes close
  // together round its small islands, where the angle bound needs them.
  double closestInteriorPx;
  // How near the coast the mouth must fall, km; 0 when it lies north of the map.
  double mouthOnCoastKm;
};

class GeneratedGeometryTest : public ::testing::TestWithParam<RegionFile> {
 protected:
  void SetUp() override {
    const Status status = ReadGeometry(s_, test::SampleDataPath(GetParam().name));
    ASSERT_TRUE(status.ok()) << status.message();
  }
  int Node(int j, int e) const { return s_.ElemNode((j - 1) % 3 + 1, e); }
  double Cross(int a, int b, int c) const {
    return (s_.NodeX(b) - s_.NodeX(a)) * (s_.NodeY(c) - s_.NodeY(a)) -
           (s_.NodeX(c) - s_.NodeX(a)) * (s_.NodeY(b) - s_.NodeY(a));
  }
  // Calls f(a, b, c) for each boundary point b of each ring, a before it and c after.
  template <class F>
  void ForEachRingPoint(F f) const {
    for (int r = 1, first = 1; r <= s_.BoundaryRingCount; first += s_.BoundaryRingSize(r++)) {
      const int size = s_.BoundaryRingSize(r);
      for (int i = 0; i < size; ++i) f(r, first + (i + size - 1) % size, first + i, first + (i + 1) % size);
    }
  }
  ModelState s_;
};

TEST_P(GeneratedGeometryTest, ElementsMeetTheAngleBoundAndAddUp) {
  constexpr double kMinAngleDeg = 20.0 - 0.05;  // 0.1 m rounding in the file costs a hair
  EXPECT_LT(std::max(s_.NodeCount, s_.ElementCount), kMaxItemNumber);
  EXPECT_EQ(s_.BoundaryRingCount, GetParam().rings);
  double smallest = 180.0;
  for (int e = 1; e <= s_.ElementCount; ++e)
    for (int j = 1; j <= 3; ++j) {
      const int a = Node(j, e), b = Node(j + 1, e), c = Node(j + 2, e);
      const double dot = (s_.NodeX(b) - s_.NodeX(a)) * (s_.NodeX(c) - s_.NodeX(a)) +
                         (s_.NodeY(b) - s_.NodeY(a)) * (s_.NodeY(c) - s_.NodeY(a));
      smallest = std::min(smallest, std::atan2(Cross(a, b, c), dot) * 180.0 / M_PI);
    }
  EXPECT_GE(smallest, kMinAngleDeg);
  // Euler's formula for a triangulated disc with holes: E = 2N - B - 2 + 2·holes.
  EXPECT_EQ(s_.ElementCount, 2 * s_.NodeCount - s_.BoundaryCount - 2 + 2 * (s_.BoundaryRingCount - 1));
}

TEST_P(GeneratedGeometryTest, CoastRingsAreExactlyTheMeshBoundaryAndEncloseItsArea) {
  // Neighbours hold the shared edge the other way round with e across it;
  // the directed edges without one (water on the left) are the ring edges.
  std::set<std::pair<int, int>> meshCoast, ringEdges;
  double meshArea = 0.0, ringArea = 0.0;
  for (int e = 1; e <= s_.ElementCount; ++e) {
    meshArea += 0.5 * Cross(Node(1, e), Node(2, e), Node(3, e));
    for (int j = 1; j <= 3; ++j) {
      const int a = Node(j, e), b = Node(j + 1, e), g = s_.ElemNeighbour(j, e);
      int across = -1;
      if (g == 0) meshCoast.insert({a, b});
      for (int k = 1; k <= 3 && g != 0; ++k)
        if (Node(k, g) == b && Node(k + 1, g) == a) across = s_.ElemNeighbour(k, g);
      ASSERT_EQ(g == 0 ? e : across, e) << "element " << e << " edge " << j << " and element " << g;
    }
  }
  // The shore runs counter-clockwise round the water, islands clockwise.
  std::map<int, double> twiceArea;
  ForEachRingPoint([&](int r, int, int b, int c) {
    ASSERT_EQ(s_.NodeX(s_.BoundaryNode(b)), s_.BoundaryX(b)) << "boundary point " << b;
    ringEdges.insert({s_.BoundaryNode(b), s_.BoundaryNode(c)});
    twiceArea[r] += s_.BoundaryX(b) * s_.BoundaryY(c) - s_.BoundaryX(c) * s_.BoundaryY(b);
  });
  EXPECT_EQ(ringEdges, meshCoast);
  EXPECT_EQ(static_cast<int>(ringEdges.size()), s_.BoundaryCount);  // no node twice on the coast
  for (const auto& [r, twice] : twiceArea) {
    EXPECT_EQ(twice > 0.0, r == 1) << "ring " << r;
    ringArea += 0.5 * twice;
  }
  EXPECT_NEAR(meshArea, ringArea, 1e-6 * ringArea);
}

TEST_P(GeneratedGeometryTest, InteriorNodesStandApartInTheFullView) {
  // The full view spans 1.4 map widths over 800 pixels; every interior node
  // gets an arrow. At most 5 % of the neighbouring interior pairs may come
  // closer than 6 pixels, and none closer than the region's own bound.
  constexpr double kFullViewSpan = 1.4, kPicturePixels = 800.0, kArrowGapPx = 6.0, kMaxCloseShare = 0.05;
  const double kmPerPixel = kFullViewSpan * s_.MapWidth / kPicturePixels;
  std::set<std::pair<int, int>> pairs;
  for (int e = 1; e <= s_.ElementCount; ++e)
    for (int j = 1; j <= 3; ++j)
      if (!s_.IsBoundaryNode(Node(j, e)) && !s_.IsBoundaryNode(Node(j + 1, e)))
        pairs.insert(std::minmax(Node(j, e), Node(j + 1, e)));
  ASSERT_FALSE(pairs.empty());
  double closest = std::numeric_limits<double>::infinity();
  int close = 0;
  for (const auto& [a, b] : pairs) {
    const double px = std::hypot(s_.NodeX(a) - s_.NodeX(b), s_.NodeY(a) - s_.NodeY(b)) / kmPerPixel;
    closest = std::min(closest, px);
    close += px < kArrowGapPx ? 1 : 0;
  }
  EXPECT_GE(closest, GetParam().closestInteriorPx);
  EXPECT_LE(close, kMaxCloseShare * static_cast<double>(pairs.size())) << close << " of " << pairs.size();
}

TEST_P(GeneratedGeometryTest, GeorefPutsTheMalagarasiMouthOnTheEastCoast) {
  // Put through the georef line with PROJ, the mouth lies within the kept
  // shore's accuracy of the coast, water 3 km west (and 10 km north and
  // south of that), land 3 km east; the southern region lies far south of it.
  constexpr double kStepKm = 3.0, kAlongKm = 10.0;
  PJ_CONTEXT* context = proj_context_create();
  PJ* projection = proj_create(context, s_.Georef.c_str());
  ASSERT_NE(projection, nullptr) << s_.Georef;
  const PJ_XY mouth = proj_trans(projection, PJ_FWD,
                                 proj_coord(proj_torad(kMouthLongitude), proj_torad(kMouthLatitude), 0, 0))
                          .xy;
  proj_destroy(projection);
  proj_context_destroy(context);
  if (GetParam().mouthOnCoastKm == 0.0) {
    EXPECT_GT(mouth.y, s_.MapYMax);
    return;
  }
  double toCoast = std::numeric_limits<double>::infinity();
  ForEachRingPoint([&](int, int, int b, int c) {
    const double ax = s_.BoundaryX(b), ay = s_.BoundaryY(b);
    const double dx = s_.BoundaryX(c) - ax, dy = double(s_.BoundaryY(c)) - ay;
    const double t = std::clamp(((mouth.x - ax) * dx + (mouth.y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    toCoast = std::min(toCoast, std::hypot(mouth.x - ax - t * dx, mouth.y - ay - t * dy));
  });
  EXPECT_LT(toCoast, GetParam().mouthOnCoastKm) << mouth.x << " " << mouth.y;
  for (const double along : {0.0, kAlongKm, -kAlongKm})
    EXPECT_EQ(PointInLake(s_, mouth.x - kStepKm, mouth.y + along), 1) << along;
  EXPECT_EQ(PointInLake(s_, mouth.x + kStepKm, mouth.y), 0);
}

INSTANTIATE_TEST_SUITE_P(Regions, GeneratedGeometryTest,
                         ::testing::Values(RegionFile{"geomtan.inp", 4, 1.5, 1.5},
                                           RegionFile{"geommal.inp", 1, 6.0, 1.0},
                                           RegionFile{"geomzam.inp", 3, 6.0, 0.0}),
                         [](const auto& p) { return std::string(p.param.name).substr(0, 7); });

}  // namespace
}  // namespace lakedrift
