#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/PointInLake.h"
#include "model/ShoreIndex.h"

namespace lakedrift {
namespace {

// Builds the coast of a state from rings of (x, y) points.
ModelState Coast(const std::vector<std::vector<std::pair<double, double>>>& rings) {
  ModelState state;
  state.BoundaryRingCount = static_cast<int>(rings.size());
  state.BoundaryRingSize.Resize(state.BoundaryRingCount);
  int total = 0;
  for (const auto& ring : rings) total += static_cast<int>(ring.size());
  state.BoundaryCount = total;
  state.BoundaryX.Resize(total);
  state.BoundaryY.Resize(total);
  state.BoundaryXMetres.Resize(total);
  state.BoundaryYMetres.Resize(total);
  int b = 0;
  for (int k = 0; k < state.BoundaryRingCount; ++k) {
    state.BoundaryRingSize(k + 1) = static_cast<int>(rings[k].size());
    for (const auto& [x, y] : rings[k]) {
      ++b;
      state.BoundaryX(b) = x;
      state.BoundaryY(b) = static_cast<float>(y);
      state.BoundaryXMetres(b) = x * 1000.0;
      state.BoundaryYMetres(b) = static_cast<float>(y * 1000.0);
    }
  }
  return state;
}

const std::vector<std::pair<double, double>> kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
const std::vector<std::pair<double, double>> kIsland = {{4, 4}, {6, 4}, {6, 6}, {4, 6}};

struct PointCase {
  const char* name;
  double x, y;
  int16_t expected;
};

class LakeWithIsland : public ::testing::TestWithParam<PointCase> {};

// Faults: a crossing at the point or a vertex at its height counted the
// wrong way, an island not a hole, the metres copy or the index answering
// otherwise than the crossing rule.
TEST_P(LakeWithIsland, AnswersByTheCrossingRuleInKmMetresAndIndexed) {
  const ModelState state = Coast({kSquare, kIsland});
  const PointCase& c = GetParam();
  EXPECT_EQ(PointInLake(state, c.x, c.y), c.expected);
  EXPECT_EQ(PointInLakeMetres(state, c.x * 1000.0, c.y * 1000.0), c.expected);
  EXPECT_EQ(ShoreIndex::ForKm(state).Contains(c.x, c.y), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Points, LakeWithIsland,
    ::testing::Values(PointCase{"on_island", 5, 5, 0}, PointCase{"west_of_island", 2, 5, 1},
                      PointCase{"east_of_island", 8, 5, 1},
                      // An end at the point's height counts as above the line.
                      PointCase{"southern_side", 5, 0, 0}, PointCase{"northern_side", 2, 10, 1},
                      PointCase{"island_northern_side", 5, 6, 0}, PointCase{"island_southern_side", 5, 4, 1},
                      // A crossing exactly at the point counts; the ray runs to −x.
                      PointCase{"western_side", 0, 5, 1}, PointCase{"eastern_side", 10, 5, 0},
                      PointCase{"left_of_all", -1, 5, 0}, PointCase{"right_of_all", 11, 5, 0},
                      PointCase{"above_all", 5, 11, 0}, PointCase{"below_all", 5, -1, 0},
                      PointCase{"south_west_corner", 0, 0, 0}, PointCase{"north_west_corner", 0, 10, 1}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PointInLake, RingAtOneHeightContributesNothing) {
  const ModelState flat = Coast({kSquare, {{2, 5}, {3, 5}, {4, 5}}});
  const ModelState plain = Coast({kSquare});
  for (double x : {1.0, 2.5, 3.0, 9.0}) EXPECT_EQ(PointInLake(flat, x, 5), PointInLake(plain, x, 5)) << x;
}

TEST(PointInLake, CrossingAbscissaIsNarrowedToSinglePrecision) {
  // The slanted western edge crosses y = 1 near x = 1/3. A point exactly at
  // the double-precision crossing lies left of the single-precision one, so
  // the crossing does not count and the point is on land; a point at the
  // single-precision crossing is on the water.
  const ModelState state = Coast({{{0, 0}, {10, 0}, {10, 3}, {1, 3}}});
  const double crossing = 1.0 + (1.0 - 3.0) * (0.0 - 1.0) / (0.0 - 3.0);
  const float narrowed = static_cast<float>(crossing);
  ASSERT_GT(static_cast<double>(narrowed), crossing);
  EXPECT_EQ(PointInLake(state, crossing, 1.0), 0);
  EXPECT_EQ(PointInLake(state, static_cast<double>(narrowed), 1.0), 1);
}

}  // namespace
}  // namespace lakedrift
