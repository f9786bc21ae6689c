#pragma once
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "model/ModelState.h"
#include "view/MapView.h"
#include "view/Palette.h"
#include "view/RecordingSurface.h"

namespace lakedrift::test {

using Kind = RecordingSurface::Kind;
using Strings = std::vector<std::string>;

// A node of a hand-built flow frame.
struct TestNode {
  double x, y;
  float u, v;
  bool boundary = false;
};

// Sets the coast: rings of the given sizes over the points in order.
inline void SetCoast(ModelState& s, const std::vector<int>& ringSizes,
                     const std::vector<std::array<double, 2>>& points) {
  s.BoundaryRingCount = static_cast<int>(ringSizes.size());
  s.BoundaryRingSize.Resize(s.BoundaryRingCount);
  for (int r = 1; r <= s.BoundaryRingCount; ++r) s.BoundaryRingSize(r) = ringSizes[r - 1];
  s.BoundaryCount = static_cast<int>(points.size());
  s.BoundaryX.Resize(s.BoundaryCount), s.BoundaryY.Resize(s.BoundaryCount);
  for (int j = 1; j <= s.BoundaryCount; ++j)
    s.BoundaryX(j) = points[j - 1][0], s.BoundaryY(j) = static_cast<float>(points[j - 1][1]);
}

// A square map extent with one four-point ring inside, as the geometry
// reader would leave it, and the start-up view state.
inline ModelState SquareMapState(double xMin, double yMin, double size, float mapSize) {
  ModelState s;
  s.RegionTitle = "LAKE TANGANYIKA";
  s.MapXMin = xMin, s.MapXMax = xMin + size, s.MapWidth = size;
  s.MapYMin = yMin, s.MapYMax = yMin + size, s.MapHeight = size;
  s.MapSize = mapSize;
  const double in = xMin + 0.1 * size, out = xMin + 0.9 * size, low = yMin + 0.1 * size,
               high = yMin + 0.9 * size;
  SetCoast(s, {4}, {{in, low}, {out, low}, {out, high}, {in, high}});
  s.VectorScale = 0.25;
  s.Magnification = 1;
  return s;
}

// Fills the nodes, the boundary list and its mask, and MaxSpeed as the
// running maximum over the interior nodes.
inline void SetNodes(ModelState& s, const std::vector<TestNode>& nodes) {
  s.NodeCount = static_cast<int>(nodes.size());
  s.NodeX.Resize(s.NodeCount), s.NodeY.Resize(s.NodeCount);
  s.NodeU.Resize(s.NodeCount), s.NodeV.Resize(s.NodeCount);
  s.IsBoundaryNode.Resize(s.NodeCount);
  std::vector<int> boundary;
  for (int i = 1; i <= s.NodeCount; ++i) {
    const TestNode& n = nodes[static_cast<size_t>(i - 1)];
    s.NodeX(i) = n.x, s.NodeY(i) = n.y, s.NodeU(i) = n.u, s.NodeV(i) = n.v;
    s.IsBoundaryNode(i) = n.boundary ? 1 : 0;
    if (n.boundary)
      boundary.push_back(i);
    else
      s.MaxSpeed = std::max(s.MaxSpeed, std::hypot(double{n.u}, double{n.v}));
  }
  s.BoundaryNode.Resize(static_cast<int>(boundary.size()));
  for (size_t j = 0; j < boundary.size(); ++j) s.BoundaryNode(static_cast<int>(j) + 1) = boundary[j];
}

// A surface of the start-up size showing the full view of a state.
inline RecordingSurface FullViewSurface(const ModelState& s) {
  RecordingSurface surface(800, 800);
  SetMapScale(surface, s);
  return surface;
}

}  // namespace lakedrift::test
