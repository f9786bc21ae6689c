#pragma once

namespace lakedrift {

// A point in client-area pixels (x right, y down).
struct PixelPoint {
  double x = 0, y = 0;
};

// The mapping of a world window (left, top, width, negative height for north
// up) onto a client area of width × height pixels. x and y scale
// independently: nothing keeps the aspect ratio.
struct ViewTransform {
  float left = 0, top = 0, width = 1, height = -1;
  int pixelWidth = 1, pixelHeight = 1;

  // The pixel at which a world point is drawn.
  PixelPoint ToPixel(double x, double y) const {
    return {pixelWidth * (x - left) / width, pixelHeight * (y - top) / height};
  }
  // The world point drawn at a pixel.
  void ToWorld(double px, double py, double& x, double& y) const {
    x = left + px * width / pixelWidth;
    y = top + py * height / pixelHeight;
  }
  // World units per pixel along x (positive) and y (signed as the scale).
  double UnitsPerPixelX() const { return static_cast<double>(width) / pixelWidth; }
  double UnitsPerPixelY() const { return static_cast<double>(height) / pixelHeight; }
  bool operator==(const ViewTransform&) const = default;
};

}  // namespace lakedrift
