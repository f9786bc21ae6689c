#include "model/ShoreIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "model/GeometryReader.h"
#include "model/PointInLake.h"
#include "support/TestPaths.h"

namespace lakedrift {
namespace {

// Closed rings stored back to back, as the geometry holds the coast.
struct Rings {
  Array1<int> sizes;
  Array1<double> x;
  Array1<float> y;
  int count = 0;

  static Rings Of(const std::vector<std::vector<std::pair<double, float>>>& rings) {
    Rings r{Array1<int>(static_cast<int>(rings.size())), {}, {}, static_cast<int>(rings.size())};
    std::vector<std::pair<double, float>> all;
    for (const auto& ring : rings) all.insert(all.end(), ring.begin(), ring.end());
    for (int k = 1; k <= r.count; ++k) r.sizes(k) = static_cast<int>(rings[k - 1].size());
    r.x.Resize(static_cast<int>(all.size())), r.y.Resize(static_cast<int>(all.size()));
    for (int b = 1; b <= r.x.Count(); ++b) std::tie(r.x(b), r.y(b)) = all[b - 1];
    return r;
  }
  ShoreIndex Index() const { return ShoreIndex(sizes, count, x, y); }
  // The coast of a state in km, and its copy in metres.
  ModelState State() const {
    ModelState state;
    state.BoundaryRingCount = count, state.BoundaryRingSize = sizes, state.BoundaryCount = x.Count();
    state.BoundaryX = x, state.BoundaryY = y;
    state.BoundaryXMetres.Resize(x.Count()), state.BoundaryYMetres.Resize(x.Count());
    for (int b = 1; b <= x.Count(); ++b)
      state.BoundaryXMetres(b) = x(b) * 1000.0, state.BoundaryYMetres(b) = y(b) * 1000.0f;
    return state;
  }
  int16_t Plain(double px, double py) const { return PointInRings(sizes, count, x, y, px, py); }
  // The point after b on its ring.
  int NextOnRing(int b) const {
    for (int k = 1, first = 1; k <= count; first += sizes(k++))
      if (b < first + sizes(k)) return b + 1 < first + sizes(k) ? b + 1 : first;
    return b;
  }
};

const Rings kSquareWithIsland =
    Rings::Of({{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{4, 4}, {6, 4}, {6, 6}, {4, 6}}});

// Faults: a crossing at the point or a vertex at its height counted the
// wrong way, an island not a hole, the crossing abscissa kept in double, the
// metres copy, the plain test or the index answering otherwise; a ring
// without height counted as crossing, an empty coast read, a non-finite
// query or an edge whose height product underflows answered otherwise than
// by the plain test.
TEST(PointInLake, AnswersByTheCrossingRuleInKmMetresAndIndexed) {
  // The slanted western edge crosses y = 1 near x = 1/3. A point exactly at
  // the double-precision crossing lies left of the single-precision one, so
  // the crossing does not count and the point is on land.
  const Rings slanted = Rings::Of({{{0, 0}, {10, 0}, {10, 3}, {1, 3}}}), &island = kSquareWithIsland;
  const double crossing = 1.0 + (1.0 - 3.0) * (0.0 - 1.0) / (0.0 - 3.0), nan = std::nan("");
  const Rings flat = Rings::Of({{{0, 3}, {5, 3}, {9, 3}}, {{4, 4}}}), none = Rings::Of({});
  // Sides from y = −1e−30 up to exactly 0: for a point 1e−310 above the top
  // (in km or m) the product of its height differences underflows to zero
  // and the plain test counts both sides as spanning, so a point above the
  // ring between them is "inside". Far enough above (1e−200) it is outside.
  const Rings thin = Rings::Of({{{0, -1e-30f}, {1, -1e-30f}, {1, 0.0f}, {0, 0.0f}}});
  // clang-format off
  const std::tuple<const Rings&, const char*, double, double, int16_t> rows[] = {
      {island, "on island", 5, 5, 0}, {island, "west of island", 2, 5, 1}, {island, "east of island", 8, 5, 1},
      // An end at the point's height counts as above the line.
      {island, "southern side", 5, 0, 0}, {island, "northern side", 2, 10, 1}, {island, "island's northern side", 5, 6, 0}, {island, "island's southern side", 5, 4, 1},
      // A crossing exactly at the point counts; the ray runs to −x.
      {island, "western side", 0, 5, 1}, {island, "eastern side", 10, 5, 0}, {island, "left of all", -1, 5, 0}, {island, "right of all", 11, 5, 0},
      {island, "above all", 5, 11, 0}, {island, "below all", 5, -1, 0}, {island, "south-west corner", 0, 0, 0}, {island, "north-west corner", 0, 10, 1},
      {slanted, "at the double crossing", crossing, 1, 0},
      {flat, "below a flat ring", 4.5, 2.9, 0}, {flat, "on it", 4.5, 3.0, 0}, {flat, "above it", 4.5, 3.1, 0}, {flat, "at a one-point ring", 4.5, 4.0, 0},
      {none, "no coast", 0, 0, 0}, {thin, "underflowing", 0.5, 1e-310, 1}, {thin, "above", 0.5, 1e-200, 0},
      {island, "NaN y", 2, nan, 0}, {island, "NaN x", nan, 2, 0}, {island, "infinite y", 2, HUGE_VAL, 0}, {island, "infinite x", HUGE_VAL, 2, 0},
      {island, "-infinite y", 2, -HUGE_VAL, 0}, {island, "-infinite x", -HUGE_VAL, 2, 0}};
  // clang-format on
  for (const auto& [rings, where, x, y, expected] : rows) {
    const ModelState state = rings.State();
    EXPECT_EQ(std::tuple(PointInLake(state, x, y), PointInLakeMetres(state, x * 1000.0, y * 1000.0),
                         ShoreIndex::ForKm(state).Contains(x, y), rings.Plain(x, y)),
              std::tuple(expected, expected, expected, expected))
        << where;
  }
}

// Compares index and plain test on `count` query points that trip a
// crossing test, reporting the first few mismatches; returns their number.
long Compare(const Rings& rings, long count, uint32_t seed) {
  const ShoreIndex index = rings.Index();
  std::mt19937_64 random(seed);
  const auto [xMin, xMax] = std::ranges::minmax(rings.x.Vector());
  const auto [yMin, yMax] = std::ranges::minmax(rings.y.Vector());
  const double marginX = 0.05 * (xMax - xMin) + 1e-9, marginY = 0.05 * (yMax - yMin) + 1e-9;
  std::uniform_real_distribution<double> xs(xMin - marginX, xMax + marginX),
      ys(yMin - marginY, yMax + marginY), unit(0.0, 1.0);
  std::uniform_int_distribution<int> vertex(1, rings.x.Count());
  long mismatches = 0;
  for (long i = 0; i < count; ++i) {
    const int b = vertex(random), next = rings.NextOnRing(b);
    const double x = rings.x(b), y = rings.y(b), t = unit(random), ex = rings.x(next) - x,
                 ey = rings.y(next) - y;
    const double off = std::pow(10.0, -3.0 - 9.0 * unit(random)) * (i % 14 < 7 ? 1 : -1);
    // clang-format off
    const std::pair<double, double> points[] = {
        {xs(random), ys(random)},  // anywhere over the rings' box and a margin
        {x, y},  // a vertex exactly
        {x + t * ex, y + t * ey},  // on an edge, in double as a caller would compute it
        {xs(random), y},  // at a vertex's height
        {rings.x(next), std::nextafter(y, i % 12 < 6 ? 1e300 : -1e300)},  // one step above or below a vertex's height
        // Float neighbours of a vertex: what a narrowed coordinate can be.
        {static_cast<double>(std::nextafter(static_cast<float>(x), 1e30f)), std::nextafter(rings.y(b), -1e30f)},
        {x + t * ex - off * ey, y + t * ey + off * ex}};  // beside an edge, 10^-3 to 10^-12 of its length off it
    // clang-format on
    const auto [px, py] = points[i % 7];
    const int16_t expected = rings.Plain(px, py);
    if (index.Contains(px, py) != expected && ++mismatches <= 5)
      ADD_FAILURE() << "point " << i << " (" << px << ", " << py << "): plain " << expected;
  }
  return mismatches;
}

// Faults: an index that never or always answers by its cell alone, or
// answers otherwise than the plain test where the coast's arithmetic is
// delicate (in km and in metres); a factory indexing the wrong copy.
TEST(ShoreIndex, AgreesWithThePlainTestOnTangledRingsAndTheTestLake) {
  const ShoreIndex square = kSquareWithIsland.Index();
  // Most cells answer alone, but not all: the coast runs through some.
  EXPECT_TRUE(square.OpenCellCount() > square.CellCount() / 2 && square.OpenCellCount() < square.CellCount())
      << square.OpenCellCount() << " of " << square.CellCount();
  // Rings on an integer grid share heights everywhere: horizontal edges,
  // edges ending at other rings' vertex heights, self-crossing rings,
  // points on vertices and edges. Every grid and half-grid point is tested.
  std::mt19937 random(11);
  std::uniform_int_distribution<int> coordinate(0, 24), ringSize(1, 40), ringCount(1, 6);
  for (int trial = 0; trial < 60; ++trial) {
    std::vector<std::vector<std::pair<double, float>>> shape(static_cast<std::size_t>(ringCount(random)));
    for (auto& ring : shape) {
      ring.resize(static_cast<std::size_t>(ringSize(random)));
      for (auto& [px, py] : ring) px = coordinate(random), py = static_cast<float>(coordinate(random));
    }
    const Rings rings = Rings::Of(shape);
    const ShoreIndex index = rings.Index();
    for (int i = -2; i <= 52; ++i)
      for (int j = -2; j <= 52; ++j)
        ASSERT_EQ(index.Contains(i * 0.5, j * 0.5), rings.Plain(i * 0.5, j * 0.5))
            << "trial " << trial << " at (" << i * 0.5 << ", " << j * 0.5 << ")";
    EXPECT_EQ(Compare(rings, 20000, static_cast<uint32_t>(trial)), 0);
  }
  ModelState lake;
  ASSERT_TRUE(ReadGeometry(lake, test::TestDataPath("testlake.inp")).ok());
  for (bool metres : {false, true}) {
    const Rings coast{lake.BoundaryRingSize, metres ? lake.BoundaryXMetres : lake.BoundaryX,
                      metres ? lake.BoundaryYMetres : lake.BoundaryY, lake.BoundaryRingCount};
    EXPECT_EQ(Compare(coast, 400000, 5), 0) << (metres ? "metres" : "km");
  }
  // The factories index the two copies of the coast; (5, 5) km is on the island.
  EXPECT_EQ((std::array{ShoreIndex::ForKm(lake).Contains(3, 1), ShoreIndex::ForMetres(lake).Contains(3000, 1000),
                        ShoreIndex::ForMetres(lake).Contains(5000, 5000)}),
            (std::array<int16_t, 3>{1, 1, 0}));
}

// Faults: bounds not rounded onto tens, the square grown about an edge
// instead of the centre, the size taken from the rounded bounds.
TEST(MapExtent, RoundsOntoTensAndSquaresAboutTheCentre) {
  // The coast's box (x, y), then the map's (x, y) and MapSize.
  // clang-format off
  const std::array<double, 9> rows[] = {
      {3.5, 612.8, -402, -0.7, 10, 620, -525, 85, 609.3},  // heights grow about the centre: −420, −20 become −525, 85
      {0, 95, 0, 40, 0, 100, -25, 75, 95}, {0, 40, 0, 95, -25, 75, 0, 100, 95},
      {0.1, 99.9, 0.1, 50, 10, 100, -10, 80, 99.8}};  // a positive lower bound moves inwards: MapSize exceeds MapWidth
  // clang-format on
  for (const auto& [xMin, xMax, yMin, yMax, mapXMin, mapXMax, mapYMin, mapYMax, mapSize] : rows) {
    ModelState state = Rings::Of({{{xMin, static_cast<float>(yMin)}, {xMax, static_cast<float>(yMax)}}}).State();
    ComputeMapExtent(state);
    EXPECT_EQ(std::tuple(state.MapXMin, state.MapXMax, state.MapYMin, state.MapYMax, state.MapWidth,
                         state.MapHeight),
              std::tuple(mapXMin, mapXMax, mapYMin, mapYMax, mapXMax - mapXMin, mapXMax - mapXMin));
    EXPECT_NEAR(state.MapSize, mapSize, 1e-4) << xMin << ".." << xMax << " × " << yMin << ".." << yMax;
  }
}

}  // namespace
}  // namespace lakedrift
