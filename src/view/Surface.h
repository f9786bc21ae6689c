#pragma once
#include <memory>
#include <span>
#include <string>

#include "view/Palette.h"
#include "view/ViewTransform.h"

namespace lakedrift {

enum class FillStyle { Solid, Transparent };
enum class LineStyle { Solid, Dotted };
// User: the four scale values are lake km with y up (negative height).
// Twips: the same four values in 1/1440 inch, origin top left, y down; the
// resize layout works in it.
enum class ScaleMode { User, Twips };

// The drawing surface every picture goes through: a persistent picture of
// the client area with a user scale in lake km, a current text position and
// the pen, fill and font state. Coordinates are single precision, as the
// drawing code hands them over. Implementations draw the primitives; the
// state lives here.
class Surface {
 public:
  virtual ~Surface() = default;

  // --- Scale --------------------------------------------------------------
  void SetScale(float left, float top, float width, float height);
  float ScaleLeft() const { return scaleLeft_; }
  float ScaleTop() const { return scaleTop_; }
  float ScaleWidth() const { return scaleWidth_; }
  float ScaleHeight() const { return scaleHeight_; }
  void SetScaleLeft(float v) { scaleLeft_ = v; }
  void SetScaleTop(float v) { scaleTop_ = v; }
  void SetScaleWidth(float v) { scaleWidth_ = v; }
  void SetScaleHeight(float v) { scaleHeight_ = v; }
  // Switching to twips replaces the four values by the client area in
  // twips; switching back to user units restores the last user scale.
  void SetScaleMode(ScaleMode mode);
  ScaleMode GetScaleMode() const { return scaleMode_; }
  // The mapping of the current scale onto the client area's pixels.
  ViewTransform Transform() const;
  // Whether a point lies inside the visible area, edges included; the right
  // and bottom edges are summed in single precision like the scale itself.
  bool IsVisible(double x, double y) const;
  // The y of the line below one that starts at `y` and is `height` tall:
  // down the screen, whichever way the y axis runs.
  float BelowBy(float y, float height) const;

  // --- Client area ------------------------------------------------------
  int PixelWidth() const { return pixelWidth_; }
  int PixelHeight() const { return pixelHeight_; }
  // Gives the picture a new size in pixels; what was drawn is kept where it
  // fits, the rest is background.
  void SetPixelSize(int width, int height);

  // --- Drawing state ----------------------------------------------------
  float CurrentX() const { return currentX_; }
  float CurrentY() const { return currentY_; }
  void SetCurrentX(float x) { currentX_ = x; }
  void SetCurrentY(float y) { currentY_ = y; }
  void SetCurrent(float x, float y) { currentX_ = x, currentY_ = y; }
  Rgb ForeColor() const { return foreColor_; }
  void SetForeColor(Rgb c) { foreColor_ = c; }
  Rgb BackColor() const { return backColor_; }
  void SetBackColor(Rgb c) { backColor_ = c; }
  FillStyle GetFillStyle() const { return fillStyle_; }
  void SetFillStyle(FillStyle s) { fillStyle_ = s; }
  Rgb FillColor() const { return fillColor_; }
  void SetFillColor(Rgb c) { fillColor_ = c; }
  float FontSize() const { return fontSize_; }
  void SetFontSize(float points) { fontSize_ = points; }
  LineStyle GetLineStyle() const { return lineStyle_; }
  void SetLineStyle(LineStyle s) { lineStyle_ = s; }
  int LineWidth() const { return lineWidth_; }
  void SetLineWidth(int pixels) { lineWidth_ = pixels; }

  // --- Operations -------------------------------------------------------
  // Fills the picture with the background colour; the text position goes to
  // the top-left corner of the scale.
  virtual void Clear() = 0;
  // A line in the fore colour, line style and width; the current position
  // moves to its end.
  virtual void Line(float x1, float y1, float x2, float y2) = 0;
  // The lines in turn, as as many calls of Line; a surface may draw them
  // in one go, with the same result.
  struct Segment {
    float x1, y1, x2, y2;
  };
  virtual void Lines(std::span<const Segment> lines) {
    for (const Segment& l : lines) Line(l.x1, l.y1, l.x2, l.y2);
  }
  // A rectangle between two corners filled with a colour; the current
  // position moves to the second corner.
  virtual void FilledBox(float x1, float y1, float x2, float y2, Rgb colour) = 0;
  // A circle whose radius is in x units, outlined in `border` and filled
  // with the fill colour unless the fill style is transparent; the current
  // position moves to its centre.
  virtual void Circle(float x, float y, float radius, Rgb border) = 0;
  // Prints text in the fore colour with its top-left corner at the current
  // position; then the position moves to the start of the next line.
  virtual void Print(const std::string& text) = 0;
  // Width and height of a text in the current font, in scale units
  // (positive whichever way the axis runs).
  virtual float TextWidth(const std::string& text) const = 0;
  virtual float TextHeight(const std::string& text) const = 0;

  // --- Overlays ---------------------------------------------------------
  // An implementation that keeps pixels may offer an overlay: a transparent
  // picture of the same size and scale to draw into once and lay over the
  // picture again and again, so that what only grows (a run's tracks) need
  // not be drawn anew at every redraw. Laying it over gives exactly the
  // pixels that drawing its contents directly would give. Null when the
  // surface offers none; the caller then draws directly.
  // An opaque overlay covers the whole picture when laid over it, a
  // transparent one only where something was drawn on it.
  enum class OverlayKind { Transparent, Opaque };
  virtual std::unique_ptr<Surface> CreateOverlay(OverlayKind /*kind*/ = OverlayKind::Transparent) const {
    return nullptr;
  }
  // Lays an overlay made by CreateOverlay over the picture.
  virtual void DrawOverlay(const Surface& /*overlay*/) {}

 protected:
  // Lets an implementation resize its picture; called by SetPixelSize.
  virtual void OnPixelSizeChanged() {}
  // After Print: back to the left edge, one text line further down.
  void MoveToNextLine(float lineHeight);
  // After Clear: the top-left corner of the scale.
  void MoveToOrigin() { SetCurrent(scaleLeft_, scaleTop_); }

 private:
  float scaleLeft_ = 0, scaleTop_ = 0, scaleWidth_ = 1, scaleHeight_ = -1;
  float userLeft_ = 0, userTop_ = 0, userWidth_ = 1, userHeight_ = -1;
  ScaleMode scaleMode_ = ScaleMode::User;
  int pixelWidth_ = 1, pixelHeight_ = 1;
  float currentX_ = 0, currentY_ = 0;
  Rgb foreColor_ = PaletteColour(kBlack);
  Rgb backColor_ = PaletteColour(kBrightWhite);
  FillStyle fillStyle_ = FillStyle::Transparent;
  Rgb fillColor_ = PaletteColour(kBlack);
  float fontSize_ = 7.8f;
  LineStyle lineStyle_ = LineStyle::Solid;
  int lineWidth_ = 1;
};

}  // namespace lakedrift
