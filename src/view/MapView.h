#pragma once
#include <functional>
#include <optional>
#include <string>

#include "model/ModelState.h"
#include "view/Surface.h"

namespace lakedrift {

// Sets the full view: the map extent with a margin of 0.2 of it on every
// side, north up, text at 8 points. Leaves Magnification alone.
void SetMapScale(Surface& surface, const ModelState& state);

// The one redraw of every picture: the map (which clears first), then the
// vectors once they have been shown.
void Redraw(Surface& surface, ModelState& state);

// Draws the whole picture on the view in force. The plain picture is
// Redraw's; a finished run draws its tracks and label on top of it.
using PictureRedraw = std::function<void(Surface&, ModelState&)>;

// Halves the visible width and height about the fixed top-left corner,
// doubles Magnification and redraws.
void ZoomIn(Surface& surface, ModelState& state, const PictureRedraw& redraw = Redraw);
// Doubles the visible width and height, halves Magnification and redraws.
void ZoomOut(Surface& surface, ModelState& state, const PictureRedraw& redraw = Redraw);

// Zooms in (or out) by 2 about a pixel of the picture, so that the lake
// point under it stays under it; then redraws and prints the boxed
// magnification label.
void ZoomAboutPixel(Surface& surface, ModelState& state, double px, double py, bool zoomIn,
                    const PictureRedraw& redraw = Redraw);
// Moves the view so that the picture follows a drag of (dx, dy) pixels,
// then redraws and prints the boxed magnification label.
void PanByPixels(Surface& surface, ModelState& state, double dx, double dy,
                 const PictureRedraw& redraw = Redraw);

// A scroll bar's position as a fraction of its range: both differences in
// 16-bit integers, the quotient in single precision. Needs max ≠ min.
float ScrollFraction(int value, int min, int max);

// Moves the view's left edge across the scroll world (a square of side
// 1.4 × MapSize), redraws and prints the boxed magnification label.
void ScrollHorizontal(Surface& surface, ModelState& state, int value, int min, int max,
                      const PictureRedraw& redraw = Redraw);
// Moves the view's top edge likewise.
void ScrollVertical(Surface& surface, ModelState& state, int value, int min, int max,
                    const PictureRedraw& redraw = Redraw);

// The scroll-bar positions that show the view in force as nearly as the
// bars can: the inverse of ScrollHorizontal and ScrollVertical, clamped to
// min..max (min when the view is as large as the scroll world).
int HorizontalScrollValue(const Surface& surface, const ModelState& state, int min, int max);
int VerticalScrollValue(const Surface& surface, const ModelState& state, int min, int max);

// "Magnification:" followed by the value as labels print it, e.g.
// "Magnification: 1" or "Magnification: .5".
std::string MagnificationLabel(float magnification);

// Prints the magnification label 1 % of the view's height below its top-left
// corner in the current colour and font, on a bright green box over the
// text's extent when asked.
void DrawMagnificationLabel(Surface& surface, const ModelState& state, bool withBox);

// Where the two scroll bars go, in client pixels.
struct ScrollBarLayout {
  int hLeft, hTop, hWidth, hHeight;  // HScroll1: along the bottom, full width
  int vLeft, vTop, vWidth, vHeight;  // VScroll1: along the right, above HScroll1
};

// The scroll bars' layout for a client area; nothing when the area is too
// small to hold both bars with a positive size.
std::optional<ScrollBarLayout> LayoutScrollBars(int clientWidth, int clientHeight, int hBarHeight,
                                                int vBarWidth);

// What a resize does once the bars are placed: Magnification 1, the full
// view, a redraw.
void ResizeView(Surface& surface, ModelState& state, const PictureRedraw& redraw = Redraw);

}  // namespace lakedrift
