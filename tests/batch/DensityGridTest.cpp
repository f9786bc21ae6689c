#include "batch/DensityGrid.h"
#include "batch/DensityImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <tuple>
#include <vector>

namespace lakedrift {
namespace {

// clang-format off
struct CellCase { const char* name; double cellKm, x, y; std::optional<GridCell> cell; };  // km
// clang-format on

class DensityGridCell : public testing::TestWithParam<CellCase> {};

// Every edge and corner of the extent, a hair inside each corner, and the
// far column and row that reach past the extent; a point is counted once,
// in its cell or as outside, never in a cell past the end.
TEST_P(DensityGridCell, PlacesThePointOrCountsItOutside) {
  const CellCase& c = GetParam();
  ModelState extent;  // 0..20 km east and −10..10 km north
  extent.MapXMin = 0, extent.MapXMax = 20, extent.MapWidth = 20;
  extent.MapYMin = -10, extent.MapYMax = 10, extent.MapHeight = 20;
  DensityGrid grid(extent, c.cellKm);
  EXPECT_EQ(grid.CellOf(c.x, c.y), c.cell);
  grid.Add(std::vector<double>{c.x * 1000}, std::vector<float>{static_cast<float>(c.y * 1000)});
  // Outside, in its cell (1 when none), in all.
  EXPECT_EQ(std::tuple(grid.Outside(), c.cell ? grid.Count(c.cell->column, c.cell->row) : 1, grid.Total()),
            std::tuple(c.cell ? 0 : 1, 1, 1));
}

constexpr double kHair = 1.0 / 1024;  // km, exact in binary
const std::optional<GridCell> kOutside;

// clang-format off
const CellCase kCells[] = {
    {"SouthWestCorner", 5, 0, -10, kOutside}, {"SouthEastCorner", 5, 20, -10, kOutside},
    {"NorthWestCorner", 5, 0, 10, kOutside}, {"NorthEastCorner", 5, 20, 10, kOutside},
    {"WestEdge", 5, 0, 1, kOutside}, {"EastEdge", 5, 20, 1, kOutside},
    {"SouthEdge", 5, 7, -10, kOutside}, {"NorthEdge", 5, 7, 10, kOutside},
    {"BeyondEast", 5, 23, 1, kOutside}, {"BeyondSouth", 5, 7, -31, kOutside},
    {"NotANumber", 5, std::nan(""), 1, kOutside}, {"OnAnInnerLine", 5, 10, 0, GridCell{2, 2}},
    {"InsideSouthWest", 5, kHair, -10 + kHair, GridCell{0, 0}}, {"InsideSouthEast", 5, 20 - kHair, -10 + kHair, GridCell{3, 0}},
    {"InsideNorthWest", 5, kHair, 10 - kHair, GridCell{0, 3}}, {"InsideNorthEast", 5, 20 - kHair, 10 - kHair, GridCell{3, 3}},
    {"EastInACellReachingPast", 8, 20 - kHair, -9, GridCell{2, 0}}, {"PastTheExtentInACellReachingPast", 8, 21, -9, kOutside}};
// clang-format on
INSTANTIATE_TEST_SUITE_P(EdgesAndCorners, DensityGridCell, testing::ValuesIn(kCells),
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
    EXPECT_EQ(std::pair(RampClass(0, most), RampClass(most, most)), std::pair(-1, kRampClasses - 1)) << most;
    for (long c = 2; c <= std::min(most, 5000L); ++c)
      EXPECT_GE(RampClass(c, most), RampClass(c - 1, most)) << c;
  }
}

}  // namespace
}  // namespace lakedrift
