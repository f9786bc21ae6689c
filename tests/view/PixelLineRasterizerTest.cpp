#include "view/PixelLineRasterizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <ranges>
#include <string>
#include <vector>

namespace lakedrift::test {
namespace {

constexpr uint32_t kInk = 0xFF000080u;
constexpr int kSize = 12, kStride = kSize + 4;  // rows padded, as image rows may be

// One line drawn on a blank canvas: its rows as '#' (ink) and '.', each
// followed by its padding.
std::vector<std::string> Drawn(double x1, double y1, double x2, double y2, bool dotted = false) {
  std::vector<uint32_t> pixels(kStride * kSize, 0u);
  PixelLineRasterizer(pixels.data(), kSize, kSize, kStride).Draw(x1, y1, x2, y2, kInk, dotted);
  std::vector<std::string> rows(kSize);
  for (size_t i = 0; i < pixels.size(); ++i) rows[i / kStride] += pixels[i] == kInk ? '#' : '.';
  return rows;
}

TEST(PixelLineRasterizer, FarAwayEndsAreClippedToTheCanvas) {
  // clang-format off
  const struct { const char* name; double x1, y1, x2, y2; int inked; } rows[] = {
      {"across the row", -1e9, 5, 1e9, 5, kSize}, {"down the column", 7, 1e12, 7, -1e12, kSize},
      {"diagonal through the corner", -100, -100, 100, 100, kSize}, {"wholly left", -50, 0, -1, 11, 0},
      {"wholly below", 0, 12, 11, 40, 0}, {"not a number", NAN, 1, 5, 5, 0}, {"infinite", 0, 0, INFINITY, 0, 0},
      {"a single pixel", 4, 4, 4, 4, 1}};
  // clang-format on
  for (const auto& row : rows) {
    const auto lines = Drawn(row.x1, row.y1, row.x2, row.y2);  // ink in the padding counts too
    EXPECT_EQ(std::ranges::count(lines | std::views::join, '#'), row.inked) << row.name;
  }
}

TEST(PixelLineRasterizer, DotsKeepTheirPlacesWhenTheStartIsClippedOff) {
  EXPECT_EQ(Drawn(0, 2, 11, 2, true)[2], "#..#..#..#......");
  EXPECT_EQ(Drawn(-3, 5, 11, 5, true)[5], "#..#..#..#......");  // starts one period left
  EXPECT_EQ(Drawn(-1, 0, 11, 0, true)[0], "..#..#..#..#....");  // dots at -1, 2, 5, ...
}

// The integer line walk in its plainest form, stepping x and y as the error
// term says: the solid lines must light exactly these pixels.
TEST(PixelLineRasterizer, SolidLinesLightExactlyThePixelsOfTheWalk) {
  constexpr int kBig = 64;
  std::minstd_rand random(12345);
  std::uniform_int_distribution<int> at(0, kBig - 1);
  for (int trial = 0; trial < 20000; ++trial) {
    const int x1 = at(random), y1 = at(random), x2 = at(random), y2 = at(random);
    std::vector<uint32_t> pixels(kBig * kBig), expected(kBig * kBig);
    PixelLineRasterizer(pixels.data(), kBig, kBig, kBig).Draw(x1, y1, x2, y2, 1u, false);
    const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1), sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    for (int x = x1, y = y1, error = dx + dy;;) {
      expected[static_cast<size_t>(y * kBig + x)] = 1u;
      if (x == x2 && y == y2) break;
      const int twice = 2 * error;
      if (twice >= dy) error += dy, x += sx;
      if (twice <= dx) error += dx, y += sy;
    }
    ASSERT_EQ(pixels, expected) << x1 << "," << y1 << " to " << x2 << "," << y2;
  }
}

}  // namespace
}  // namespace lakedrift::test
