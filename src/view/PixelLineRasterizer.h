#pragma once
#include <cstdint>

namespace lakedrift {

// Draws crisp 1-pixel lines straight into a 32-bit pixel buffer: clipped to
// the buffer, both end pixels included, solid or dotted (one pixel on, two
// off, counted from the line's start). A redraw of the whole lake is tens of
// thousands of short strokes, and a general-purpose painter spends most of
// its time per stroke rather than per pixel.
class PixelLineRasterizer {
 public:
  // `stride` is the distance between rows in pixels.
  PixelLineRasterizer(uint32_t* pixels, int width, int height, int stride);

  // A line between two pixel positions, which may lie far outside the
  // buffer (a deeply zoomed view).
  void Draw(double x1, double y1, double x2, double y2, uint32_t colour, bool dotted);

  // The solid line between two pixels of the buffer, both ends included:
  // the pixels Draw gives for ends that round to them.
  void DrawSolid(int x, int y, int xEnd, int yEnd, uint32_t colour);

  static constexpr int kDotOn = 1;      // pixels drawn per dot
  static constexpr int kDotPeriod = 3;  // pixels from one dot to the next

 private:
  // Cuts the line to the buffer; false when nothing of it is inside.
  bool Clip(double& x1, double& y1, double& x2, double& y2) const;
  // The pixels of a clipped line, every third from `dot` on.
  void DrawDotted(int x, int y, int xEnd, int yEnd, uint32_t colour, int dot);

  uint32_t* pixels_;
  int width_, height_, stride_;
};

}  // namespace lakedrift
