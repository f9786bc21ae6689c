#include "StartupPicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "BinaryWriter.h"
#include "DepthModel.h"

namespace lakedrift::datagen {

namespace {

constexpr int kMarginPx = 10;
constexpr int kBytesPerPixel = 3;
constexpr int kRowAlignment = 4;
constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;
constexpr int kPlanes = 1;
constexpr int kBitsPerPixel = 24;
constexpr int kPixelsPerMetre = 3780;  // 96 dots per inch
constexpr double kMaxWaterDepthM = 600.0;
constexpr double kLandFadeKm = 60.0;   // green shore country turns ochre inland
constexpr double kShoreLineKm = 0.9;   // the darker beach line

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

}  // namespace

void StartupPicture::Write(const std::vector<CoastRing>& lake, const std::filesystem::path& path) {
  // The lake's long axis: the principal direction of its shore points.
  const auto& shore = lake.front().points;
  Vec2 mean;
  for (const Vec2 p : shore) mean = mean + p;
  mean = (1.0 / static_cast<double>(shore.size())) * mean;
  double sxx = 0, syy = 0, sxy = 0;
  for (const Vec2 p : shore) {
    const Vec2 d = p - mean;
    sxx += d.x * d.x;
    syy += d.y * d.y;
    sxy += d.x * d.y;
  }
  const double axis = 0.5 * std::atan2(2.0 * sxy, sxx - syy);
  // Turning by -axis lays the lake along the picture's width.
  double minU = std::numeric_limits<double>::max(), maxU = -minU, minV = minU, maxV = -minU;
  for (const Vec2 p : shore) {
    const Vec2 q = Rotated(p - mean, -axis);
    minU = std::min(minU, q.x), maxU = std::max(maxU, q.x);
    minV = std::min(minV, q.y), maxV = std::max(maxV, q.y);
  }
  const double kmPerPixel = std::max((maxU - minU) / (kWidth - 2 * kMarginPx),
                                     (maxV - minV) / (kHeight - 2 * kMarginPx));
  const Vec2 centre{0.5 * (minU + maxU), 0.5 * (minV + maxV)};

  const DepthModel depth(lake);
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
  for (int row = 0; row < kHeight; ++row) {  // bottom row first
    for (int col = 0; col < kWidth; ++col) {
      const Vec2 local{centre.x + (col + 0.5 - 0.5 * kWidth) * kmPerPixel,
                       centre.y + (row + 0.5 - 0.5 * kHeight) * kmPerPixel};
      const Vec2 p = mean + Rotated(local, axis);
      bool water = Inside(p, lake.front());
      for (std::size_t k = 1; k < lake.size() && water; ++k) water = !Inside(p, lake[k]);
      const double distance = depth.DistanceToShoreKm(p);
      Rgb colour;
      if (distance < kShoreLineKm) {
        colour = kBeach;
      } else if (water) {
        colour = Mix(kShallowWater, kDeepWater,
                     std::min(1.0, DepthModel::DepthAt(p, distance) / kMaxWaterDepthM));
      } else {
        colour = Mix(kShoreLand, kInlandLand, std::min(1.0, distance / kLandFadeKm));
      }
      for (int c = 2; c >= 0; --c) out.Byte(static_cast<std::uint8_t>(std::lround(colour[c])));  // BGR
    }
    for (int pad = kWidth * kBytesPerPixel; pad < rowBytes; ++pad) out.Byte(0);
  }
  out.Save(path);
}

}  // namespace lakedrift::datagen
