#include "view/MapView.h"

#include <cmath>
#include <cstdint>

#include "model/NumberFormat.h"
#include "view/LakeMap.h"
#include "view/Palette.h"
#include "view/VelocityVectors.h"

namespace lakedrift {
namespace {

constexpr double kMarginFraction = 0.2;   // of the map extent on each side
constexpr double kViewFraction = 1.4;     // extent plus both margins
constexpr float kViewFontSize = 8.0f;
constexpr float kZoomFactor = 2.0f;
constexpr double kLabelDropFraction = 0.01;  // of the view's height
constexpr int kMagnificationDigits = kSingleDigits;
constexpr const char* kMagnificationPrefix = "Magnification:";

// How far the view's edge may travel: the scroll world's side less the
// view's own size; negative when the view is larger than the world.
double ScrollRange(const ModelState& s, float viewSize) {
  return kViewFraction * s.MapSize - viewSize;
}

}  // namespace

void SetMapScale(Surface& surface, const ModelState& state) {
  surface.SetScaleMode(ScaleMode::User);
  surface.SetScale(static_cast<float>(state.MapXMin - kMarginFraction * state.MapWidth),
                   static_cast<float>(state.MapYMax + kMarginFraction * state.MapHeight),
                   static_cast<float>(kViewFraction * state.MapWidth),
                   static_cast<float>(-kViewFraction * state.MapHeight));
  surface.SetFontSize(kViewFontSize);
}

void Redraw(Surface& surface, ModelState& state) {
  DrawMap(surface, state);
  if (state.VectorsShown == 1) DrawVectors(surface, state);
}

void ZoomIn(Surface& surface, ModelState& state) {
  surface.SetScaleWidth(surface.ScaleWidth() / kZoomFactor);
  surface.SetScaleHeight(surface.ScaleHeight() / kZoomFactor);
  state.Magnification *= kZoomFactor;
  Redraw(surface, state);
}

void ZoomOut(Surface& surface, ModelState& state) {
  surface.SetScaleWidth(surface.ScaleWidth() * kZoomFactor);
  surface.SetScaleHeight(surface.ScaleHeight() * kZoomFactor);
  state.Magnification /= kZoomFactor;
  Redraw(surface, state);
}

float ScrollFraction(int value, int min, int max) {
  const auto offset = static_cast<int16_t>(value - min);
  const auto range = static_cast<int16_t>(max - min);
  return static_cast<float>(offset) / static_cast<float>(range);
}

void ScrollHorizontal(Surface& surface, ModelState& state, int value, int min, int max) {
  const float f = ScrollFraction(value, min, max);
  const double origin = state.MapXMin - kMarginFraction * state.MapSize;
  surface.SetScaleLeft(static_cast<float>(origin + f * ScrollRange(state, surface.ScaleWidth())));
  Redraw(surface, state);
  DrawMagnificationLabel(surface, state, true);
}

void ScrollVertical(Surface& surface, ModelState& state, int value, int min, int max) {
  const float f = ScrollFraction(value, min, max);
  const double origin = state.MapYMax + kMarginFraction * state.MapHeight;
  const float viewHeight = std::fabs(surface.ScaleHeight());
  surface.SetScaleTop(static_cast<float>(origin - f * ScrollRange(state, viewHeight)));
  Redraw(surface, state);
  DrawMagnificationLabel(surface, state, true);
}

std::string MagnificationLabel(float magnification) {
  return kMagnificationPrefix + FormatPrinted(magnification, kMagnificationDigits);
}

void DrawMagnificationLabel(Surface& surface, const ModelState& state, bool withBox) {
  const std::string label = MagnificationLabel(state.Magnification);
  const float x = surface.ScaleLeft();
  const float y = static_cast<float>(surface.ScaleTop() -
                                     kLabelDropFraction * std::fabs(surface.ScaleHeight()));
  if (withBox) {
    const float right = x + surface.TextWidth(label);
    const float bottom = surface.BelowBy(y, surface.TextHeight(label));
    surface.FilledBox(x, y, right, bottom, PaletteColour(kLightGreen));
  }
  surface.SetCurrent(x, y);
  surface.Print(label);
}

std::optional<ScrollBarLayout> LayoutScrollBars(int clientWidth, int clientHeight, int hBarHeight,
                                                int vBarWidth) {
  // The bars' design positions: HScroll1 starts at the left edge, VScroll1
  // at the top edge.
  constexpr int kHLeft = 0, kVTop = 0;
  ScrollBarLayout bars{};
  bars.hLeft = kHLeft;
  bars.hHeight = hBarHeight;
  bars.hWidth = clientWidth - bars.hLeft;
  bars.vTop = kVTop;
  bars.vWidth = vBarWidth;
  bars.vHeight = clientHeight - bars.vTop - bars.hHeight;
  bars.vLeft = bars.hWidth - bars.vWidth;
  bars.hTop = bars.vHeight;
  const bool fits = hBarHeight > 0 && vBarWidth > 0 && bars.vHeight > 0 && bars.vLeft > 0;
  if (!fits) return std::nullopt;
  return bars;
}

void ResizeView(Surface& surface, ModelState& state) {
  state.Magnification = 1;
  SetMapScale(surface, state);
  Redraw(surface, state);
}

}  // namespace lakedrift
