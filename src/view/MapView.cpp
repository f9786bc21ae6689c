#include "view/MapView.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "model/NumberFormat.h"
#include "view/LakeMap.h"
#include "view/Palette.h"
#include "view/Picture.h"

namespace lakedrift {
namespace {

constexpr double kMarginFraction = 0.2;  // of the map extent on each side
constexpr double kViewFraction = 1.4;    // extent plus both margins
constexpr float kViewFontSize = 8.0f;
constexpr float kZoomFactor = 2.0f;
constexpr double kLabelDropFraction = 0.01;  // of the view's height
constexpr int kMagnificationDigits = kSingleDigits;
constexpr const char* kMagnificationPrefix = "Magnification:";

// How far the view's edge may travel: the scroll world's side less the
// view's own size; negative when the view is larger than the world.
double ScrollRange(const ModelState& s, float viewSize) { return kViewFraction * s.MapSize - viewSize; }

// Where the view's left (top) edge stands with its scroll bar at the minimum.
double HorizontalScrollOrigin(const ModelState& s) { return s.MapXMin - kMarginFraction * s.MapSize; }
double VerticalScrollOrigin(const ModelState& s) { return s.MapYMax + kMarginFraction * s.MapHeight; }

// The bar position at which an edge `travel` from the origin stands, when
// the edge may travel `range` over the bar's min..max.
int ScrollValueFor(double travel, double range, int min, int max) {
  if (!(range > 0)) return min;
  const double value = min + std::round(travel / range * (max - min));
  return static_cast<int>(std::clamp(value, static_cast<double>(min), static_cast<double>(max)));
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
  DrawPicture({.surface = surface, .state = state, .vectors = state.VectorsShown == 1});
}

void ZoomIn(Surface& surface, ModelState& state, const PictureRedraw& redraw) {
  surface.SetScaleWidth(surface.ScaleWidth() / kZoomFactor);
  surface.SetScaleHeight(surface.ScaleHeight() / kZoomFactor);
  state.Magnification *= kZoomFactor;
  redraw(surface, state);
}

void ZoomOut(Surface& surface, ModelState& state, const PictureRedraw& redraw) {
  surface.SetScaleWidth(surface.ScaleWidth() * kZoomFactor);
  surface.SetScaleHeight(surface.ScaleHeight() * kZoomFactor);
  state.Magnification /= kZoomFactor;
  redraw(surface, state);
}

void ZoomAboutPixel(Surface& surface, ModelState& state, double px, double py, bool zoomIn,
                    const PictureRedraw& redraw) {
  double x = 0, y = 0;
  surface.Transform().ToWorld(px, py, x, y);
  const float factor = zoomIn ? 1.0f / kZoomFactor : kZoomFactor;
  const float width = surface.ScaleWidth() * factor, height = surface.ScaleHeight() * factor;
  surface.SetScale(static_cast<float>(x - px * width / surface.PixelWidth()),
                   static_cast<float>(y - py * height / surface.PixelHeight()), width, height);
  state.Magnification = zoomIn ? state.Magnification * kZoomFactor : state.Magnification / kZoomFactor;
  redraw(surface, state);
  DrawMagnificationLabel(surface, state, true);
}

void PanByPixels(Surface& surface, ModelState& state, double dx, double dy, const PictureRedraw& redraw) {
  const ViewTransform view = surface.Transform();
  surface.SetScaleLeft(static_cast<float>(surface.ScaleLeft() - dx * view.UnitsPerPixelX()));
  surface.SetScaleTop(static_cast<float>(surface.ScaleTop() - dy * view.UnitsPerPixelY()));
  redraw(surface, state);
  DrawMagnificationLabel(surface, state, true);
}

float ScrollFraction(int value, int min, int max) {
  const auto offset = static_cast<int16_t>(value - min);
  const auto range = static_cast<int16_t>(max - min);
  return static_cast<float>(offset) / static_cast<float>(range);
}

void ScrollHorizontal(Surface& surface, ModelState& state, int value, int min, int max,
                      const PictureRedraw& redraw) {
  const float f = ScrollFraction(value, min, max);
  surface.SetScaleLeft(
      static_cast<float>(HorizontalScrollOrigin(state) + f * ScrollRange(state, surface.ScaleWidth())));
  redraw(surface, state);
  DrawMagnificationLabel(surface, state, true);
}

void ScrollVertical(Surface& surface, ModelState& state, int value, int min, int max,
                    const PictureRedraw& redraw) {
  const float f = ScrollFraction(value, min, max);
  const float viewHeight = std::fabs(surface.ScaleHeight());
  surface.SetScaleTop(static_cast<float>(VerticalScrollOrigin(state) - f * ScrollRange(state, viewHeight)));
  redraw(surface, state);
  DrawMagnificationLabel(surface, state, true);
}

int HorizontalScrollValue(const Surface& surface, const ModelState& state, int min, int max) {
  return ScrollValueFor(surface.ScaleLeft() - HorizontalScrollOrigin(state),
                        ScrollRange(state, surface.ScaleWidth()), min, max);
}

int VerticalScrollValue(const Surface& surface, const ModelState& state, int min, int max) {
  return ScrollValueFor(VerticalScrollOrigin(state) - surface.ScaleTop(),
                        ScrollRange(state, std::fabs(surface.ScaleHeight())), min, max);
}

std::string MagnificationLabel(float magnification) {
  return kMagnificationPrefix + FormatPrinted(magnification, kMagnificationDigits);
}

void DrawMagnificationLabel(Surface& surface, const ModelState& state, bool withBox) {
  const std::string label = MagnificationLabel(state.Magnification);
  const float x = surface.ScaleLeft();
  const float y =
      static_cast<float>(surface.ScaleTop() - kLabelDropFraction * std::fabs(surface.ScaleHeight()));
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

void ResizeView(Surface& surface, ModelState& state, const PictureRedraw& redraw) {
  state.Magnification = 1;
  SetMapScale(surface, state);
  redraw(surface, state);
}

}  // namespace lakedrift
