#include "view/PixelLineRasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lakedrift {

PixelLineRasterizer::PixelLineRasterizer(uint32_t* pixels, int width, int height, int stride)
    : pixels_(pixels), width_(width), height_(height), stride_(stride) {}

// Liang–Barsky against the pixel centres' box [0, width-1] × [0, height-1].
bool PixelLineRasterizer::Clip(double& x1, double& y1, double& x2, double& y2) const {
  // Most lines lie wholly inside: they need no divisions.
  const double right = width_ - 1, bottom = height_ - 1;
  if (x1 >= 0 && x2 >= 0 && y1 >= 0 && y2 >= 0 && x1 <= right && x2 <= right && y1 <= bottom && y2 <= bottom)
    return true;
  const double dx = x2 - x1, dy = y2 - y1;
  double enter = 0, leave = 1;
  // Each edge as p·t ≤ q: the left, right, top and bottom of the buffer.
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1, (width_ - 1) - x1, y1, (height_ - 1) - y1};
  for (int edge = 0; edge < 4; ++edge) {
    if (p[edge] == 0) {
      if (q[edge] < 0) return false;  // parallel to this edge and outside it
      continue;
    }
    const double t = q[edge] / p[edge];
    if (p[edge] < 0)
      enter = std::max(enter, t);
    else
      leave = std::min(leave, t);
    if (enter > leave) return false;
  }
  x2 = x1 + leave * dx, y2 = y1 + leave * dy;
  x1 = x1 + enter * dx, y1 = y1 + enter * dy;
  return true;
}

namespace {
// Rounds a clipped coordinate, which is never negative, to its pixel.
int PixelOf(double coordinate) { return static_cast<int>(coordinate + 0.5); }
}  // namespace

void PixelLineRasterizer::Draw(double x1, double y1, double x2, double y2, uint32_t colour, bool dotted) {
  if (!std::isfinite(x1 + y1 + x2 + y2)) return;  // nothing sensible to draw
  const double startX = x1, startY = y1;
  if (!Clip(x1, y1, x2, y2)) return;
  const int x = PixelOf(x1), y = PixelOf(y1);
  const int xEnd = PixelOf(x2), yEnd = PixelOf(y2);
  if (!dotted) {
    DrawSolid(x, y, xEnd, yEnd, colour);
    return;
  }
  // The dots keep their places when the start of the line is clipped off.
  const double skipped = std::max(std::fabs(x1 - startX), std::fabs(y1 - startY));
  DrawDotted(x, y, xEnd, yEnd, colour, static_cast<int>(std::fmod(std::floor(skipped + 0.5), kDotPeriod)));
}

// Walks the pixels from (x, y) to (xEnd, yEnd) by the error term of the
// integer line algorithm, stepping along x and y as the error says; `dot`
// counts the position within the dot period.
void PixelLineRasterizer::DrawDotted(int x, int y, int xEnd, int yEnd, uint32_t colour, int dot) {
  const int dx = std::abs(xEnd - x), dy = -std::abs(yEnd - y);
  const int stepX = x < xEnd ? 1 : -1, stepY = y < yEnd ? 1 : -1;
  const long stepRow = static_cast<long>(stepY) * stride_;
  uint32_t* pixel = pixels_ + static_cast<long>(y) * stride_ + x;
  int error = dx + dy;
  for (;;) {
    if (dot < kDotOn) *pixel = colour;
    if (x == xEnd && y == yEnd) break;
    const int twice = 2 * error;
    if (twice >= dy) error += dy, x += stepX, pixel += stepX;
    if (twice <= dx) error += dx, y += stepY, pixel += stepRow;
    if (++dot == kDotPeriod) dot = 0;
  }
}

// The same pixels as DrawDotted with every pixel on. Along the major axis
// the walk steps at every pixel, so the loop runs a known number of times
// and only the minor step depends on the error term.
void PixelLineRasterizer::DrawSolid(int x, int y, int xEnd, int yEnd, uint32_t colour) {
  const int dx = std::abs(xEnd - x), dy = -std::abs(yEnd - y);
  const long stepX = x < xEnd ? 1 : -1;
  const long stepRow = (y < yEnd ? 1L : -1L) * stride_;
  uint32_t* pixel = pixels_ + static_cast<long>(y) * stride_ + x;
  int error = dx + dy;
  if (dx >= -dy) {
    for (int left = dx; left > 0; --left) {
      *pixel = colour;
      const int twice = 2 * error;
      error += dy;
      pixel += stepX;
      if (twice <= dx) error += dx, pixel += stepRow;
    }
  } else {
    for (int left = -dy; left > 0; --left) {
      *pixel = colour;
      const int twice = 2 * error;
      error += dx;
      pixel += stepRow;
      if (twice >= dy) error += dy, pixel += stepX;
    }
  }
  *pixel = colour;
}

}  // namespace lakedrift
