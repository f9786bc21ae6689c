#include "batch/DensityImage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "batch/RunImage.h"
#include "view/LakeMap.h"
#include "view/MapView.h"

namespace lakedrift {
namespace {

// Where the legend sits, as fractions of the view from its top left corner.
constexpr float kLegendLeft = 0.74f;
constexpr float kLegendTop = 0.06f;
constexpr float kLegendBoxWidth = 0.04f;
constexpr float kLegendBoxHeight = 0.035f;
constexpr float kLegendTextGap = 0.01f;
constexpr float kLegendFontSize = 8.0f;

long MaxCount(const DensityGrid& grid) {
  long most = 0;
  for (int row = 0; row < grid.Rows(); ++row)
    for (int column = 0; column < grid.Columns(); ++column) most = std::max(most, grid.Count(column, row));
  return most;
}

// The point a fraction (fx, fy) of the view from its top left corner.
float ViewX(const Surface& s, float fx) { return s.ScaleLeft() + fx * s.ScaleWidth(); }
float ViewY(const Surface& s, float fy) { return s.ScaleTop() + fy * s.ScaleHeight(); }

void FillCells(Surface& surface, const DensityGrid& grid, long most) {
  for (int row = 0; row < grid.Rows(); ++row)
    for (int column = 0; column < grid.Columns(); ++column) {
      const int k = RampClass(grid.Count(column, row), most);
      if (k < 0) continue;
      const double x = grid.CellXKm(column), y = grid.CellYKm(row);
      surface.FilledBox(static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + grid.CellKm()),
                        static_cast<float>(y + grid.CellKm()), RampColour(k));
    }
}

// One box per class that some count falls in, with the counts it holds.
void DrawLegend(Surface& surface, long most) {
  // The first count of class k or above: the classes grow with the count.
  const auto firstOf = [most](int k) {
    long lo = 1, hi = most + 1;
    while (lo < hi) {
      const long mid = lo + (hi - lo) / 2;
      if (RampClass(mid, most) >= k)
        hi = mid;
      else
        lo = mid + 1;
    }
    return lo;
  };
  surface.SetFontSize(kLegendFontSize);
  surface.SetForeColor(PaletteColour(kBlack));
  for (int k = 0, line = 0; k < kRampClasses; ++k) {
    const long lo = firstOf(k), hi = firstOf(k + 1) - 1;
    if (lo > hi) continue;
    const float top = kLegendTop + static_cast<float>(line++) * kLegendBoxHeight;
    surface.FilledBox(ViewX(surface, kLegendLeft), ViewY(surface, top),
                      ViewX(surface, kLegendLeft + kLegendBoxWidth), ViewY(surface, top + kLegendBoxHeight),
                      RampColour(k));
    surface.SetCurrent(ViewX(surface, kLegendLeft + kLegendBoxWidth + kLegendTextGap), ViewY(surface, top));
    surface.Print(lo == hi ? std::to_string(lo) : std::to_string(lo) + "-" + std::to_string(hi));
  }
}

}  // namespace

int RampClass(long count, long maxCount) {
  if (count <= 0 || maxCount <= 0) return -1;
  const double share = std::log(static_cast<double>(count) + 1) / std::log(static_cast<double>(maxCount) + 1);
  return std::clamp(static_cast<int>(std::ceil(share * kRampClasses)) - 1, 0, kRampClasses - 1);
}

Rgb RampColour(int rampClass) {
  // ColorBrewer's YlGnBu, 7 classes: ordered in lightness and readable with
  // the common colour-vision deficiencies.
  constexpr std::array<Rgb, kRampClasses> kRamp = {Rgb{255, 255, 204}, Rgb{199, 233, 180}, Rgb{127, 205, 187},
                                                   Rgb{65, 182, 196},  Rgb{29, 145, 192},  Rgb{34, 94, 168},
                                                   Rgb{12, 44, 132}};
  return kRamp[static_cast<std::size_t>(std::clamp(rampClass, 0, kRampClasses - 1))];
}

Status WriteDensityImage(const DensityGrid& grid, ModelState& state, int size,
                         const std::filesystem::path& path) {
  RunImage image(size);
  Surface& surface = image.GetSurface();
  SetMapScale(surface, state);
  // The map is drawn on a clear layer and laid over the filled cells, so
  // the coast, grid and labels stay on top.
  std::unique_ptr<Surface> map = surface.CreateOverlay();
  DrawMap(*map, state);
  surface.SetBackColor(PaletteColour(kBrightWhite));
  surface.Clear();
  const long most = MaxCount(grid);
  FillCells(surface, grid, most);
  surface.DrawOverlay(*map);
  DrawLegend(surface, most);
  return image.Save(path);
}

}  // namespace lakedrift
