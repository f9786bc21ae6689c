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
    Rings r;
    r.count = static_cast<int>(rings.size());
    r.sizes.Resize(r.count);
    int total = 0;
    for (const auto& ring : rings) total += static_cast<int>(ring.size());
    r.x.Resize(total), r.y.Resize(total);
    int b = 1;
    for (int k = 1; k <= r.count; ++k) {
      const auto& ring = rings[static_cast<std::size_t>(k - 1)];
      r.sizes(k) = static_cast<int>(ring.size());
      for (const auto& [px, py] : ring) r.x(b) = px, r.y(b) = py, ++b;
    }
    return r;
  }
  ShoreIndex Index() const { return ShoreIndex(sizes, count, x, y); }
  // The coast of a state in km, and its copy in metres.
  ModelState State() const {
    ModelState state;
    state.BoundaryRingCount = count;
    state.BoundaryRingSize = sizes;
    state.BoundaryCount = x.Count();
    state.BoundaryX = x, state.BoundaryY = y;
    state.BoundaryXMetres.Resize(x.Count()), state.BoundaryYMetres.Resize(x.Count());
    for (int b = 1; b <= x.Count(); ++b)
      state.BoundaryXMetres(b) = x(b) * 1000.0, state.BoundaryYMetres(b) = y(b) * 1000.0f;
    return state;
  }
  int16_t Plain(double px, double py) const { return PointInRings(sizes, count, x, y, px, py); }
};

const Rings kSquareWithIsland =
    Rings::Of({{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{4, 4}, {6, 4}, {6, 6}, {4, 6}}});

// Faults: a crossing at the point or a vertex at its height counted the
// wrong way, an island not a hole, the metres copy or the index answering
// otherwise than the crossing rule.
TEST(LakeWithIsland, AnswersByTheCrossingRuleInKmMetresAndIndexed) {
  const ModelState state = kSquareWithIsland.State();
  // clang-format off
  const std::tuple<const char*, double, double, int16_t> rows[] = {
      {"on island", 5, 5, 0}, {"west of island", 2, 5, 1}, {"east of island", 8, 5, 1},
      // An end at the point's height counts as above the line.
      {"southern side", 5, 0, 0}, {"northern side", 2, 10, 1}, {"island's northern side", 5, 6, 0}, {"island's southern side", 5, 4, 1},
      // A crossing exactly at the point counts; the ray runs to −x.
      {"western side", 0, 5, 1}, {"eastern side", 10, 5, 0}, {"left of all", -1, 5, 0}, {"right of all", 11, 5, 0},
      {"above all", 5, 11, 0}, {"below all", 5, -1, 0}, {"south-west corner", 0, 0, 0}, {"north-west corner", 0, 10, 1}};
  // clang-format on
  for (const auto& [where, x, y, expected] : rows)
    EXPECT_EQ(std::tuple(PointInLake(state, x, y), PointInLakeMetres(state, x * 1000.0, y * 1000.0),
                         ShoreIndex::ForKm(state).Contains(x, y)),
              std::tuple(expected, expected, expected))
        << where;
}

TEST(PointInLake, CrossingAbscissaIsNarrowedToSinglePrecision) {
  // The slanted western edge crosses y = 1 near x = 1/3. A point exactly at
  // the double-precision crossing lies left of the single-precision one, so
  // the crossing does not count and the point is on land; a point at the
  // single-precision crossing is on the water.
  const ModelState state = Rings::Of({{{0, 0}, {10, 0}, {10, 3}, {1, 3}}}).State();
  const double crossing = 1.0 + (1.0 - 3.0) * (0.0 - 1.0) / (0.0 - 3.0);
  const float narrowed = static_cast<float>(crossing);
  ASSERT_GT(static_cast<double>(narrowed), crossing);
  EXPECT_EQ(PointInLake(state, crossing, 1.0), 0);
  EXPECT_EQ(PointInLake(state, static_cast<double>(narrowed), 1.0), 1);
}

// The query points that trip a crossing test: random points over the rings'
// box and a margin, each vertex exactly, points on edges, points at vertex
// heights (exactly and one step either side) with random and vertex x,
// points a hair beside edges.
class QueryPoints {
 public:
  QueryPoints(const Rings& rings, uint32_t seed) : rings_(rings), random_(seed), vertex_(1, rings.x.Count()) {
    const auto [xMin, xMax] = std::minmax_element(rings.x.Vector().begin(), rings.x.Vector().end());
    const auto [yMin, yMax] = std::minmax_element(rings.y.Vector().begin(), rings.y.Vector().end());
    const double marginX = 0.05 * (*xMax - *xMin) + 1e-9, marginY = 0.05 * (*yMax - *yMin) + 1e-9;
    xs_ = std::uniform_real_distribution<double>(*xMin - marginX, *xMax + marginX);
    ys_ = std::uniform_real_distribution<double>(*yMin - marginY, *yMax + marginY);
  }

  // Point number i of the mix above.
  std::pair<double, double> operator()(long i) {
    const int b = vertex_(random_), next = NextOnRing(b);
    const double x = rings_.x(b), y = rings_.y(b), t = unit_(random_);
    const double ex = rings_.x(next) - x,
                 ey = static_cast<double>(rings_.y(next)) - y;  // in double, as a caller
    switch (i % 7) {
      case 0:
        return {xs_(random_), ys_(random_)};
      case 1:
        return {x, y};
      case 2:  // on the edge b → next
        return {x + t * ex, y + t * ey};
      case 3:
        return {xs_(random_), y};
      case 4:
        return {rings_.x(next), std::nextafter(y, i % 12 < 6 ? 1e300 : -1e300)};
      case 6: {  // beside an edge, 10^-3 to 10^-12 of its length off it
        const double off = std::pow(10.0, -3.0 - 9.0 * unit_(random_)) * (i % 14 < 7 ? 1 : -1);
        return {x + t * ex - off * ey, y + t * ey + off * ex};
      }
      default:  // float neighbours of a vertex: what a narrowed coordinate can be
        return {static_cast<double>(std::nextafter(static_cast<float>(x), 1e30f)),
                std::nextafter(rings_.y(b), -1e30f)};
    }
  }

 private:
  int NextOnRing(int b) const {
    for (int k = 1, first = 1; k <= rings_.count; first += rings_.sizes(k++))
      if (b < first + rings_.sizes(k)) return b + 1 < first + rings_.sizes(k) ? b + 1 : first;
    return b;
  }

  const Rings& rings_;
  std::mt19937_64 random_;
  std::uniform_int_distribution<int> vertex_;
  std::uniform_real_distribution<double> xs_, ys_, unit_{0.0, 1.0};
};

// Compares index and plain test on `count` points; returns the mismatches
// (and reports the first few) plus how many points were on the water.
struct Comparison {
  long mismatches = 0;
  long inside = 0;
};

Comparison Compare(const Rings& rings, long count, uint32_t seed) {
  const ShoreIndex index = rings.Index();
  QueryPoints points(rings, seed);
  Comparison c;
  for (long i = 0; i < count; ++i) {
    const auto [x, y] = points(i);
    const int16_t expected = rings.Plain(x, y);
    c.inside += expected;
    if (index.Contains(x, y) != expected && ++c.mismatches <= 5)
      ADD_FAILURE() << "point " << i << " (" << x << ", " << y << "): plain " << expected;
  }
  return c;
}

Rings CoastOf(const ModelState& s, bool metres) {
  Rings r;
  r.count = s.BoundaryRingCount;
  r.sizes = s.BoundaryRingSize;
  r.x = metres ? s.BoundaryXMetres : s.BoundaryX;
  r.y = metres ? s.BoundaryYMetres : s.BoundaryY;
  return r;
}

TEST(ShoreIndex, OpenWaterCellsAnswerOnlyFarFromTheCoast) {
  const ShoreIndex index = kSquareWithIsland.Index();
  // Most cells answer alone, but not all: the coast runs through some.
  EXPECT_TRUE(index.OpenCellCount() > index.CellCount() / 2 && index.OpenCellCount() < index.CellCount())
      << index.OpenCellCount() << " of " << index.CellCount();
  // Points a rounding away from the island's sides, where an open cell
  // would be wrong, get the crossing test's answer.
  for (double d : {1e-12, 1e-9, 1e-6})
    for (double y : {4.5, 5.0, 5.5})
      EXPECT_EQ((std::array{index.Contains(4 - d, y), index.Contains(4 + d, y), index.Contains(6 - d, y),
                            index.Contains(6 + d, y)}),
                (std::array<int16_t, 4>{1, 0, 0, 1}))
          << d << " beside the island at y = " << y;
}

// Faults: a ring without height counted as crossing, an empty coast read.
TEST(ShoreIndex, RingsWithoutHeightHoldNothing) {
  const Rings flat = Rings::Of({{{0, 3}, {5, 3}, {9, 3}}, {{4, 4}}});
  const ShoreIndex index = flat.Index();
  for (double y : {2.9, 3.0, 3.1, 4.0})
    EXPECT_TRUE(index.Contains(4.5, y) == 0 && PointInLake(flat.State(), 4.5, y) == 0) << y;
  EXPECT_EQ(Rings::Of({}).Index().Contains(0, 0), 0);
}

TEST(ShoreIndex, NonFiniteQueriesAnswerLikeThePlainTest) {
  const ShoreIndex index = kSquareWithIsland.Index();
  for (double v : {std::nan(""), HUGE_VAL, -HUGE_VAL})
    EXPECT_EQ(std::pair(index.Contains(2, v), index.Contains(v, 2)),
              std::pair(kSquareWithIsland.Plain(2, v), kSquareWithIsland.Plain(v, 2)))
        << v;
}

TEST(ShoreIndex, CountsAnEdgeWhoseHeightProductUnderflowsAsThePlainTestDoes) {
  // Sides from y = −1e−30 up to exactly 0: for a point 1e−300 above the top,
  // the product of its height differences underflows to zero and the plain
  // test counts both sides as spanning, so a point above the ring between
  // them is "inside". The index must give the same answer.
  const Rings thin = Rings::Of({{{0, -1e-30f}, {1, -1e-30f}, {1, 0.0f}, {0, 0.0f}}});
  const ShoreIndex index = thin.Index();
  // Far enough above, the product no longer underflows: outside for both.
  EXPECT_EQ((std::array{thin.Plain(0.5, 1e-300), index.Contains(0.5, 1e-300), thin.Plain(0.5, 1e-200),
                        index.Contains(0.5, 1e-200)}),
            (std::array<int16_t, 4>{1, 1, 0, 0}));
}

TEST(ShoreIndex, AgreesOnGridSnappedTangledRings) {
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
    EXPECT_EQ(Compare(rings, 20000, static_cast<uint32_t>(trial)).mismatches, 0);
  }
}

TEST(ShoreIndex, AgreesOnTheTestLakeInKmAndMetres) {
  ModelState state;
  const Status s = ReadGeometry(state, test::TestDataPath("testlake.inp"));
  ASSERT_TRUE(s.ok()) << s.message();
  for (bool metres : {false, true}) {
    const Comparison c = Compare(CoastOf(state, metres), 400000, 5);
    EXPECT_EQ(c.mismatches, 0) << (metres ? "metres" : "km");
    EXPECT_GT(c.inside, 0);  // the points reached the water, not only the land
  }
  // The factories index the two copies of the coast; (5, 5) km is on the island.
  EXPECT_EQ(
      (std::array{ShoreIndex::ForKm(state).Contains(3, 1), ShoreIndex::ForMetres(state).Contains(3000, 1000),
                  ShoreIndex::ForMetres(state).Contains(5000, 5000)}),
      (std::array<int16_t, 3>{1, 1, 0}));
}

}  // namespace
}  // namespace lakedrift
