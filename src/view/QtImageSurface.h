#pragma once
#include <memory>
#include <string>

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include "view/Surface.h"

namespace lakedrift {

// The persistent picture of the client area held as a QImage of its size in
// pixels. Lines are crisp (no antialiasing); the 1-pixel lines that make up
// nearly every picture go straight into the pixels, wider ones and all
// text, boxes and circles through a QPainter that stays open between them.
// Text is bold sans-serif, smoothed, at a fixed 96 pixels per inch,
// whatever the screen, so pictures look the same everywhere. Needs a QGuiApplication.
class QtImageSurface : public Surface {
 public:
  QtImageSurface(int width, int height);
  // Kinds of picture: the opaque picture of a window, or a transparent one
  // to lay over it.
  enum class Kind { Opaque, Overlay };
  QtImageSurface(int width, int height, Kind kind);
  ~QtImageSurface() override;
  QtImageSurface(const QtImageSurface&) = delete;
  QtImageSurface& operator=(const QtImageSurface&) = delete;

  // The picture with everything drawn so far.
  const QImage& Image() const;
  // The family the text is actually drawn in (the preferred face, or the
  // system's sans-serif when it is missing).
  QString FontFamily() const;
  // Whether text is smoothed (the default); unsmoothed text leaves every
  // pixel a colour drawn, as a 16-colour file needs.
  void SetTextSmoothing(bool smooth);

  void Clear() override;
  void Line(float x1, float y1, float x2, float y2) override;
  void Lines(std::span<const Segment> lines) override;
  void FilledBox(float x1, float y1, float x2, float y2, Rgb colour) override;
  void Circle(float x, float y, float radius, Rgb border) override;
  void Print(const std::string& text) override;
  float TextWidth(const std::string& text) const override;
  float TextHeight(const std::string& text) const override;
  std::unique_ptr<Surface> CreateOverlay(OverlayKind kind = OverlayKind::Transparent) const override;
  void DrawOverlay(const Surface& overlay) override;

 protected:
  void OnPixelSizeChanged() override;

 private:
  // The current line style and width in a given colour.
  QPen MakePen(Rgb colour) const;
  QPointF ToPixel(float x, float y) const;
  // Adds the pixels a line between two pixel positions may touch to the
  // overlay's inked area.
  void MarkInked(PixelPoint a, PixelPoint b, int width) {
    // Most strokes of a run land where strokes were before: nothing to widen.
    // floor(v) - w >= low is v >= low + w, and ceil(v) + w <= high is
    // v <= high - w, for whole low, high and w: no rounding needed.
    const auto inked = [&](PixelPoint p) {
      return p.x >= inked_.left() + width && p.x <= inked_.right() - width && p.y >= inked_.top() + width &&
             p.y <= inked_.bottom() - width;
    };
    if (inked_.isEmpty() || !inked(a) || !inked(b)) WidenInked(a, b, width);
  }
  void WidenInked(PixelPoint a, PixelPoint b, int width);
  QPainter& Painter() const;
  // Ends the painter, so that the pixels can be written directly.
  void EndPainting() const;
  const QFontMetricsF& Metrics() const;

  Kind kind_ = Kind::Opaque;
  bool smoothText_ = true;
  // The pixels lines have touched since the last Clear, for overlays: only
  // they need laying over a picture.
  QRect inked_;
  mutable QImage image_;
  // The buffer the thin lines are written to, taken once per stretch of
  // direct drawing; null when it must be asked for again.
  mutable uint32_t* directPixels_ = nullptr;
  mutable std::unique_ptr<QPainter> painter_;
  mutable float fontSizeOfMetrics_ = -1;
  mutable QFont font_;
  mutable std::unique_ptr<QFontMetricsF> metrics_;
};

}  // namespace lakedrift
