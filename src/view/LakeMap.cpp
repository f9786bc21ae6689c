#include "view/LakeMap.h"

#include <cmath>

#include "model/NumberFormat.h"
#include "view/Palette.h"

namespace lakedrift {
namespace {

constexpr int kGridIntervals = 10;               // 11 lines each way
constexpr double kTitleOffsetFraction = 0.15;    // right of west, above north
constexpr double kXLabelOffsetFraction = 0.025;  // below the south edge
constexpr double kYLabelOffsetFraction = 0.1;    // left of the west edge
constexpr float kTitleFontSize = 10.0f;
constexpr float kLabelFontSize = 8.0f;

// The k-th grid line from the west (south) edge of the map.
double GridX(const ModelState& s, int k) { return s.MapXMin + k * s.MapWidth / kGridIntervals; }
float GridY(const ModelState& s, int k) {
  return static_cast<float>(s.MapYMin + k * s.MapHeight / kGridIntervals);
}

// A km label: the whole-number part of the position, signed like a print.
std::string KmLabel(double position) { return FormatPrinted(std::trunc(position)); }

// Prints a text at a point when the point is in view.
void PrintIfVisible(Surface& surface, double x, float y, const std::string& text) {
  if (!surface.IsVisible(x, y)) return;
  surface.SetCurrent(static_cast<float>(x), y);
  surface.Print(text);
}

// The title goes in the top margin; when it is out of view nothing changes,
// so the grid keeps whatever colour the previous drawing left.
void DrawTitle(Surface& surface, const ModelState& s) {
  const double tx = s.MapXMin + kTitleOffsetFraction * s.MapWidth;
  const float ty = static_cast<float>(s.MapYMax + kTitleOffsetFraction * s.MapHeight);
  if (!surface.IsVisible(tx, ty)) return;
  surface.SetCurrent(static_cast<float>(tx), ty);
  surface.SetForeColor(PaletteColour(kLightBlue));
  surface.SetFontSize(kTitleFontSize);
  surface.Print(s.RegionTitle);
}

void DrawGridLines(Surface& surface, const ModelState& s) {
  const float south = static_cast<float>(s.MapYMin), north = static_cast<float>(s.MapYMax);
  const float west = static_cast<float>(s.MapXMin), east = static_cast<float>(s.MapXMax);
  for (int k = 0; k <= kGridIntervals; ++k) {
    const float x = static_cast<float>(GridX(s, k));
    surface.Line(x, south, x, north);
  }
  for (int k = 0; k <= kGridIntervals; ++k) {
    const float y = GridY(s, k);
    surface.Line(west, y, east, y);
  }
}

void DrawGridLabels(Surface& surface, const ModelState& s) {
  const float xLabelY = static_cast<float>(s.MapYMin - kXLabelOffsetFraction * s.MapHeight);
  for (int k = 0; k <= kGridIntervals; ++k) {
    const double x = GridX(s, k);
    PrintIfVisible(surface, x, xLabelY, KmLabel(x));
  }
  const double yLabelX = s.MapXMin - kYLabelOffsetFraction * s.MapWidth;
  for (int k = 0; k <= kGridIntervals; ++k) {
    const float y = GridY(s, k);
    PrintIfVisible(surface, yLabelX, y, KmLabel(y));
  }
}

// Each ring is closed: its last point joins back to its first, so a ring
// of n points gives n segments.
void DrawCoast(Surface& surface, const ModelState& s) {
  int first = 1;
  for (int ring = 1; ring <= s.BoundaryRingCount; ++ring) {
    const int last = first + s.BoundaryRingSize(ring) - 1;
    for (int j = first; j <= last; ++j) {
      const int next = j < last ? j + 1 : first;
      surface.Line(static_cast<float>(s.BoundaryX(j)), s.BoundaryY(j), static_cast<float>(s.BoundaryX(next)),
                   s.BoundaryY(next));
    }
    first = last + 1;
  }
}

}  // namespace

void DrawMap(Surface& surface, const ModelState& state) {
  surface.SetBackColor(PaletteColour(kBrightWhite));
  surface.Clear();
  DrawTitle(surface, state);
  surface.SetFontSize(kLabelFontSize);
  surface.SetLineStyle(LineStyle::Dotted);
  DrawGridLines(surface, state);
  surface.SetForeColor(PaletteColour(kLightBlue));
  surface.SetLineStyle(LineStyle::Solid);
  DrawGridLabels(surface, state);
  surface.SetForeColor(PaletteColour(kBlack));
  DrawCoast(surface, state);
}

}  // namespace lakedrift
