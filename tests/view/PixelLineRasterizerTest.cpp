#include "view/PixelLineRasterizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace lakedrift::test {
namespace {

constexpr uint32_t kInk = 0xFF000080u;
constexpr int kSize = 12;

// A small canvas whose rows are padded, as image rows may be.
class Canvas {
 public:
  Canvas() : pixels_(static_cast<size_t>(kStride * kSize), 0u) {}
  void Draw(double x1, double y1, double x2, double y2, bool dotted = false) {
    PixelLineRasterizer(pixels_.data(), kSize, kSize, kStride).Draw(x1, y1, x2, y2, kInk, dotted);
  }
  // The picture as rows of '#' and '.', padding excluded.
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (int y = 0; y < kSize; ++y) {
      std::string row;
      for (int x = 0; x < kSize; ++x)
        row += pixels_[static_cast<size_t>(y * kStride + x)] == kInk ? '#' : '.';
      rows.push_back(row);
    }
    return rows;
  }
  bool PaddingUntouched() const {
    for (int y = 0; y < kSize; ++y)
      for (int x = kSize; x < kStride; ++x)
        if (pixels_[static_cast<size_t>(y * kStride + x)] != 0) return false;
    return true;
  }
  int Inked() const {
    int n = 0;
    for (uint32_t p : pixels_) n += p == kInk ? 1 : 0;
    return n;
  }

 private:
  static constexpr int kStride = kSize + 4;
  std::vector<uint32_t> pixels_;
};

TEST(PixelLineRasterizer, FarAwayEndsAreClippedToTheCanvas) {
  struct Row {
    const char* name;
    double x1, y1, x2, y2;
    int inked;
  };
  const Row rows[] = {
      {"across the row", -1e9, 5, 1e9, 5, kSize},
      {"down the column", 7, 1e12, 7, -1e12, kSize},
      {"diagonal through the corner", -100, -100, 100, 100, kSize},
      {"wholly left", -50, 0, -1, 11, 0},
      {"wholly below", 0, 12, 11, 40, 0},
      {"not a number", std::numeric_limits<double>::quiet_NaN(), 1, 5, 5, 0},
      {"infinite", 0, 0, std::numeric_limits<double>::infinity(), 0, 0},
      {"a single pixel", 4, 4, 4, 4, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Canvas canvas;
    canvas.Draw(row.x1, row.y1, row.x2, row.y2);
    EXPECT_EQ(canvas.Inked(), row.inked);
    EXPECT_TRUE(canvas.PaddingUntouched());
  }
}

TEST(PixelLineRasterizer, DotsKeepTheirPlacesWhenTheStartIsClippedOff) {
  Canvas whole, clipped;
  whole.Draw(0, 2, 11, 2, true);
  clipped.Draw(-3, 5, 11, 5, true);  // starts three pixels, one period, left
  EXPECT_EQ(whole.Rows()[2], "#..#..#..#..");
  EXPECT_EQ(clipped.Rows()[5], "#..#..#..#..");
  Canvas shifted;
  shifted.Draw(-1, 0, 11, 0, true);
  EXPECT_EQ(shifted.Rows()[0], "..#..#..#..#");  // dots at -1, 2, 5, ...
}

// The integer line walk in its plainest form, stepping x and y as the error
// term says: the solid lines must light exactly these pixels.
std::vector<std::pair<int, int>> ReferenceWalk(int x, int y, int xEnd, int yEnd) {
  std::vector<std::pair<int, int>> pixels;
  const int dx = std::abs(xEnd - x), dy = -std::abs(yEnd - y);
  const int stepX = x < xEnd ? 1 : -1, stepY = y < yEnd ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    pixels.emplace_back(x, y);
    if (x == xEnd && y == yEnd) break;
    const int twice = 2 * error;
    if (twice >= dy) error += dy, x += stepX;
    if (twice <= dx) error += dx, y += stepY;
  }
  return pixels;
}

TEST(PixelLineRasterizer, SolidLinesLightExactlyThePixelsOfTheWalk) {
  constexpr int kBig = 64;
  std::vector<uint32_t> pixels(kBig * kBig);
  uint32_t state = 12345;
  auto next = [&state](int range) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 8) % static_cast<uint32_t>(range));
  };
  for (int trial = 0; trial < 20000; ++trial) {
    std::fill(pixels.begin(), pixels.end(), 0u);
    const int x1 = next(kBig), y1 = next(kBig), x2 = next(kBig), y2 = next(kBig);
    PixelLineRasterizer(pixels.data(), kBig, kBig, kBig).Draw(x1, y1, x2, y2, 1u, false);
    std::vector<uint32_t> expected(kBig * kBig, 0u);
    for (const auto& [x, y] : ReferenceWalk(x1, y1, x2, y2)) expected[static_cast<size_t>(y * kBig + x)] = 1u;
    ASSERT_EQ(pixels, expected) << x1 << "," << y1 << " to " << x2 << "," << y2;
  }
}

}  // namespace
}  // namespace lakedrift::test
