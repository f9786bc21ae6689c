// The georef lines of the generated geometry files, put to work with PROJ:
// a place known by its longitude and latitude must land where the map shows
// it. The Malagarasi enters the lake from the east at 5.2564 S, 29.8017 E;
// in its region's grid it must lie on the region's coast with the water to
// its west and land to its east, and well inside the map. These are facts
// of geography checked against the mesh itself, not the generator's sums.
#include <gtest/gtest.h>

#include <proj.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "model/GeometryReader.h"
#include "model/ModelState.h"
#include "model/PointInLake.h"
#include "support/TestPaths.h"

namespace lakedrift {
namespace {

using test::SampleDataPath;

constexpr double kMouthLongitude = 29.8017, kMouthLatitude = -5.2564;

struct Km {
  double x, y;
};

// Longitude and latitude through a PROJ string, in the string's units.
Km Project(const std::string& georef, double longitude, double latitude) {
  PJ_CONTEXT* context = proj_context_create();
  PJ* projection = proj_create(context, georef.c_str());
  EXPECT_NE(projection, nullptr) << georef;
  Km result{std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
  if (projection) {
    const PJ_COORD out =
        proj_trans(projection, PJ_FWD, proj_coord(proj_torad(longitude), proj_torad(latitude), 0, 0));
    result = {out.xy.x, out.xy.y};
    proj_destroy(projection);
  }
  proj_context_destroy(context);
  return result;
}

// Distance from a point to the nearest coast edge of the state, km.
double DistanceToCoast(const ModelState& s, Km p) {
  double best = std::numeric_limits<double>::infinity();
  int first = 1;
  for (int r = 1; r <= s.BoundaryRingCount; ++r) {
    const int size = s.BoundaryRingSize(r);
    for (int i = 0; i < size; ++i) {
      const int a = first + i, b = first + (i + 1) % size;
      const double ax = s.BoundaryX(a), ay = s.BoundaryY(a);
      const double dx = s.BoundaryX(b) - ax, dy = double(s.BoundaryY(b)) - ay;
      const double len2 = dx * dx + dy * dy;
      const double t = len2 > 0 ? std::clamp(((p.x - ax) * dx + (p.y - ay) * dy) / len2, 0.0, 1.0) : 0.0;
      best = std::min(best, std::hypot(p.x - ax - t * dx, p.y - ay - t * dy));
    }
    first += size;
  }
  return best;
}

ModelState Region(const char* file) {
  ModelState s;
  const Status status = ReadGeometry(s, SampleDataPath(file));
  EXPECT_TRUE(status.ok()) << status.message();
  return s;
}

TEST(Georeference, MalagarasiMouthLiesOnTheEastCoastWellInsideItsRegionMap) {
  // Within a km of the coast the simplified shore keeps; a fifth of the map
  // from every edge; water 3 km west and, 10 km north and south of that,
  // on either side of the mouth; land 3 km east.
  constexpr double kOnCoastKm = 1.0, kInsideShare = 0.2, kStepKm = 3.0, kAlongKm = 10.0;
  const ModelState s = Region("geommal.inp");
  ASSERT_FALSE(s.Georef.empty());
  const Km mouth = Project(s.Georef, kMouthLongitude, kMouthLatitude);
  EXPECT_LT(DistanceToCoast(s, mouth), kOnCoastKm) << mouth.x << " " << mouth.y;
  const double margin = kInsideShare * s.MapWidth;
  EXPECT_GT(mouth.x, s.MapXMin + margin);
  EXPECT_LT(mouth.x, s.MapXMax - margin);
  EXPECT_GT(mouth.y, s.MapYMin + margin);
  EXPECT_LT(mouth.y, s.MapYMax - margin);
  EXPECT_EQ(PointInLake(s, mouth.x - kStepKm, mouth.y), 1);
  EXPECT_EQ(PointInLake(s, mouth.x - kStepKm, mouth.y + kAlongKm), 1);
  EXPECT_EQ(PointInLake(s, mouth.x - kStepKm, mouth.y - kAlongKm), 1);
  EXPECT_EQ(PointInLake(s, mouth.x + kStepKm, mouth.y), 0);
}

TEST(Georeference, EveryRegionPlacesTheMouthOnItsOwnCoastOrOutsideIt) {
  // The whole lake shows the mouth on its coast too (its coast is kept to
  // about a km); the Lufubu region, the south of the lake, lies far south
  // of it, so the mouth falls north of its map.
  constexpr double kWholeLakeCoastKm = 1.5;
  const ModelState lake = Region("geomtan.inp");
  const Km onLake = Project(lake.Georef, kMouthLongitude, kMouthLatitude);
  EXPECT_LT(DistanceToCoast(lake, onLake), kWholeLakeCoastKm) << onLake.x << " " << onLake.y;
  EXPECT_EQ(PointInLake(lake, onLake.x - 3.0, onLake.y), 1);
  const ModelState south = Region("geomzam.inp");
  const Km onSouth = Project(south.Georef, kMouthLongitude, kMouthLatitude);
  EXPECT_GT(onSouth.y, south.MapYMax);
}

}  // namespace
}  // namespace lakedrift
