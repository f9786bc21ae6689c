#include "StartupPicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "BinaryWriter.h"
#include "DepthModel.h"

namespace lakedrift::datagen {

namespace {

constexpr int kMarginPx = 8;
constexpr int kLakeLeftPx = 25;  // from the picture's west edge to the lake's
constexpr int kTextGapPx = 14;   // from the lake's east edge to its name
constexpr int kBytesPerPixel = 3;
constexpr int kRowAlignment = 4;
constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;
constexpr int kPlanes = 1;
constexpr int kBitsPerPixel = 24;
constexpr int kPixelsPerMetre = 3780;  // 96 dots per inch
constexpr double kMaxWaterDepthM = 600.0;
constexpr double kLandFadeKm = 60.0;  // green shore country turns ochre inland
constexpr double kShoreLineKm = 0.9;  // the darker beach line

using Rgb = std::array<double, 3>;
constexpr Rgb kShallowWater{95, 170, 225};
constexpr Rgb kDeepWater{15, 55, 140};
constexpr Rgb kShoreLand{70, 140, 65};
constexpr Rgb kInlandLand{190, 165, 100};
constexpr Rgb kBeach{225, 205, 150};

Rgb Mix(const Rgb& a, const Rgb& b, double t) {
  return {a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t};
}

bool Inside(Vec2 p, const CoastRing& ring) {
  bool inside = false;
  const auto& pts = ring.points;
  for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
    if ((pts[i].y > p.y) != (pts[j].y > p.y) &&
        p.x < pts[i].x + (p.y - pts[i].y) * (pts[j].x - pts[i].x) / (pts[j].y - pts[i].y)) {
      inside = !inside;
    }
  }
  return inside;
}

// The lake's name in a 5 × 7 pixel face: the glyphs of "Lake Tanganyika",
// one row of five bits per line, top row first.
struct Glyph {
  char letter;
  std::array<std::uint8_t, 7> rows;
};
constexpr Glyph kGlyphs[] = {
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'a', {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F}}, {'e', {0x00, 0x00, 0x0E, 0x11, 0x1F, 0x10, 0x0E}},
    {'g', {0x00, 0x0F, 0x11, 0x11, 0x0F, 0x01, 0x0E}}, {'i', {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E}},
    {'k', {0x10, 0x10, 0x12, 0x14, 0x18, 0x14, 0x12}}, {'n', {0x00, 0x00, 0x16, 0x19, 0x11, 0x11, 0x11}},
    {'y', {0x00, 0x00, 0x11, 0x11, 0x0F, 0x01, 0x0E}}};
constexpr int kGlyphWidth = 5, kGlyphHeight = 7, kGlyphAdvance = 6, kTextScale = 2;
constexpr int kLineGap = 6;
constexpr Rgb kText{40, 40, 60};
constexpr Rgb kRegionBox{200, 30, 30};

// Pixels of the picture, row 0 at the top.
using Canvas = std::vector<std::vector<Rgb>>;

// Writes a text into the canvas with its top-left corner at (left, top).
void DrawText(Canvas& canvas, const std::string& text, int left, int top) {
  for (std::size_t k = 0; k < text.size(); ++k) {
    for (const Glyph& g : kGlyphs) {
      if (g.letter != text[k]) continue;
      for (int r = 0; r < kGlyphHeight * kTextScale; ++r) {
        for (int c = 0; c < kGlyphWidth * kTextScale; ++c) {
          if ((g.rows[r / kTextScale] >> (kGlyphWidth - 1 - c / kTextScale) & 1) == 0) continue;
          const int row = top + r, col = left + static_cast<int>(k) * kGlyphAdvance * kTextScale + c;
          if (row >= 0 && row < StartupPicture::kHeight && col >= 0 && col < StartupPicture::kWidth)
            canvas[row][col] = kText;
        }
      }
    }
  }
}

// Outlines a box of pixel columns c0..c1 and rows r0..r1.
void DrawBox(Canvas& canvas, int c0, int r0, int c1, int r1) {
  for (int c = c0; c <= c1; ++c) {
    for (const int r : {r0, r1}) {
      if (r >= 0 && r < StartupPicture::kHeight && c >= 0 && c < StartupPicture::kWidth)
        canvas[r][c] = kRegionBox;
    }
  }
  for (int r = r0; r <= r1; ++r) {
    for (const int c : {c0, c1}) {
      if (r >= 0 && r < StartupPicture::kHeight && c >= 0 && c < StartupPicture::kWidth)
        canvas[r][c] = kRegionBox;
    }
  }
}

void WriteBmp(const Canvas& canvas, const std::filesystem::path& path) {
  constexpr int kWidth = StartupPicture::kWidth, kHeight = StartupPicture::kHeight;
  const int rowBytes = (kWidth * kBytesPerPixel + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
  const int imageBytes = rowBytes * kHeight;
  BinaryWriter out;
  out.Text("BM");
  out.UInt32(static_cast<std::uint32_t>(kFileHeaderBytes + kInfoHeaderBytes + imageBytes));
  out.UInt32(0);
  out.UInt32(kFileHeaderBytes + kInfoHeaderBytes);
  out.UInt32(kInfoHeaderBytes);
  out.UInt32(kWidth);
  out.UInt32(kHeight);  // positive: rows run bottom-up
  out.UInt16(kPlanes);
  out.UInt16(kBitsPerPixel);
  out.UInt32(0);  // no compression
  out.UInt32(static_cast<std::uint32_t>(imageBytes));
  out.UInt32(kPixelsPerMetre);
  out.UInt32(kPixelsPerMetre);
  out.UInt32(0);
  out.UInt32(0);
  for (int row = kHeight - 1; row >= 0; --row) {  // bottom row first
    for (const Rgb& colour : canvas[row]) {
      for (int c = 2; c >= 0; --c) out.Byte(static_cast<std::uint8_t>(std::lround(colour[c])));  // BGR
    }
    for (int pad = kWidth * kBytesPerPixel; pad < rowBytes; ++pad) out.Byte(0);
  }
  out.Save(path);
}

}  // namespace

void StartupPicture::Write(const std::vector<CoastRing>& lake, const std::vector<PlaneBox>& regions,
                           const std::filesystem::path& path) {
  // North up: the lake's height fills the picture less its margins, on the
  // left; the name stands to its right.
  const auto& shore = lake.front().points;
  Vec2 low{std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
  Vec2 high{-low.x, -low.y};
  for (const Vec2 p : shore) {
    low = {std::min(low.x, p.x), std::min(low.y, p.y)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y)};
  }
  const double kmPerPixel = (high.y - low.y) / (kHeight - 2 * kMarginPx);
  const double left = low.x - kLakeLeftPx * kmPerPixel;
  const double top = high.y + kMarginPx * kmPerPixel;
  const auto column = [&](double x) { return static_cast<int>(std::floor((x - left) / kmPerPixel)); };
  const auto row = [&](double y) { return static_cast<int>(std::floor((top - y) / kmPerPixel)); };

  const DepthModel depth(lake);
  Canvas canvas(kHeight, std::vector<Rgb>(kWidth));
  for (int r = 0; r < kHeight; ++r) {
    for (int c = 0; c < kWidth; ++c) {
      const Vec2 p{left + (c + 0.5) * kmPerPixel, top - (r + 0.5) * kmPerPixel};
      bool water = Inside(p, lake.front());
      for (std::size_t k = 1; k < lake.size() && water; ++k) water = !Inside(p, lake[k]);
      const double distance = depth.DistanceToShoreKm(p);
      if (distance < kShoreLineKm) {
        canvas[r][c] = kBeach;
      } else if (water) {
        canvas[r][c] =
            Mix(kShallowWater, kDeepWater, std::min(1.0, DepthModel::DepthAt(p, distance) / kMaxWaterDepthM));
      } else {
        canvas[r][c] = Mix(kShoreLand, kInlandLand, std::min(1.0, distance / kLandFadeKm));
      }
    }
  }
  for (const PlaneBox& box : regions) {
    DrawBox(canvas, column(box.low.x), row(box.high.y), column(box.high.x), row(box.low.y));
  }
  const int textLeft = column(high.x) + kTextGapPx;
  const int textTop = kHeight / 2 - kGlyphHeight * kTextScale - kLineGap / 2;
  DrawText(canvas, "Lake", textLeft, textTop);
  DrawText(canvas, "Tanganyika", textLeft, textTop + kGlyphHeight * kTextScale + kLineGap);
  WriteBmp(canvas, path);
}

}  // namespace lakedrift::datagen
