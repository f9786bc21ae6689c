#include "batch/DensityGrid.h"
#include "batch/DensityImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

namespace lakedrift {
namespace {

// A map extent 0..20 km east and −10..10 km north.
ModelState Extent() {
  ModelState state;
  state.MapXMin = 0, state.MapXMax = 20, state.MapWidth = 20;
  state.MapYMin = -10, state.MapYMax = 10, state.MapHeight = 20;
  return state;
}

struct CellCase {
  const char* name;
  double cellKm, x, y;  // km
  std::optional<GridCell> cell;
};

class DensityGridCell : public testing::TestWithParam<CellCase> {};

// Every edge and corner of the extent, a hair inside each corner, and the
// far column and row that reach past the extent; a point is counted once,
// in its cell or as outside, never in a cell past the end.
TEST_P(DensityGridCell, PlacesThePointOrCountsItOutside) {
  const CellCase& c = GetParam();
  DensityGrid grid(Extent(), c.cellKm);
  EXPECT_EQ(grid.CellOf(c.x, c.y), c.cell);
  grid.Add(std::vector<double>{c.x * 1000}, std::vector<float>{static_cast<float>(c.y * 1000)});
  EXPECT_EQ(grid.Outside(), c.cell ? 0 : 1);
  if (c.cell) {
    EXPECT_EQ(grid.Count(c.cell->column, c.cell->row), 1);
  }
  EXPECT_EQ(grid.Total(), 1);
}

constexpr double kHair = 1.0 / 1024;  // km, exact in binary
const std::optional<GridCell> kOutside;

INSTANTIATE_TEST_SUITE_P(
    EdgesAndCorners, DensityGridCell,
    testing::Values(CellCase{"SouthWestCorner", 5, 0, -10, kOutside},
                    CellCase{"SouthEastCorner", 5, 20, -10, kOutside},
                    CellCase{"NorthWestCorner", 5, 0, 10, kOutside},
                    CellCase{"NorthEastCorner", 5, 20, 10, kOutside}, CellCase{"WestEdge", 5, 0, 1, kOutside},
                    CellCase{"EastEdge", 5, 20, 1, kOutside}, CellCase{"SouthEdge", 5, 7, -10, kOutside},
                    CellCase{"NorthEdge", 5, 7, 10, kOutside}, CellCase{"BeyondEast", 5, 23, 1, kOutside},
                    CellCase{"BeyondSouth", 5, 7, -31, kOutside},
                    CellCase{"NotANumber", 5, std::nan(""), 1, kOutside},
                    CellCase{"InsideSouthWest", 5, kHair, -10 + kHair, GridCell{0, 0}},
                    CellCase{"InsideSouthEast", 5, 20 - kHair, -10 + kHair, GridCell{3, 0}},
                    CellCase{"InsideNorthWest", 5, kHair, 10 - kHair, GridCell{0, 3}},
                    CellCase{"InsideNorthEast", 5, 20 - kHair, 10 - kHair, GridCell{3, 3}},
                    CellCase{"OnAnInnerLine", 5, 10, 0, GridCell{2, 2}},
                    CellCase{"EastInACellReachingPast", 8, 20 - kHair, -9, GridCell{2, 0}},
                    CellCase{"PastTheExtentInACellReachingPast", 8, 21, -9, kOutside}),
    [](const auto& row) { return std::string(row.param.name); });

// More particles never give a lighter cell: the class grows with the count,
// each class is darker than the one before, only empty cells have none,
// and the fullest cell takes the darkest class.
TEST(DensityRamp, MoreParticlesAreDarker) {
  auto lightness = [](Rgb c) { return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b; };
  for (int k = 1; k < kRampClasses; ++k)
    EXPECT_LT(lightness(RampColour(k)), lightness(RampColour(k - 1))) << k;
  EXPECT_EQ(RampClass(1, 100000), 0);  // one particle among many is the lightest
  for (long most : {1L, 2L, 7L, 100L, 100000L}) {
    EXPECT_EQ(RampClass(0, most), -1);
    EXPECT_EQ(RampClass(most, most), kRampClasses - 1) << most;
    for (long c = 2; c <= std::min(most, 5000L); ++c)
      EXPECT_GE(RampClass(c, most), RampClass(c - 1, most)) << c;
  }
}

}  // namespace
}  // namespace lakedrift
