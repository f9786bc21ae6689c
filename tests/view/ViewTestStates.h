#pragma once
#include <algorithm>
#include <cmath>

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

// A square map extent with three coast rings of 4, 3 and 1 points through
// (j, 10 j) for j = 1..8, and the start-up view state.
inline ModelState SquareMapState(double xMin, double yMin, double size, float mapSize) {
  ModelState s;
  s.RegionTitle = "LAKE TANGANYIKA", s.MapSize = mapSize;
  s.MapXMin = xMin, s.MapXMax = xMin + size, s.MapWidth = size;
  s.MapYMin = yMin, s.MapYMax = yMin + size, s.MapHeight = size;
  s.BoundaryRingCount = 3, s.BoundaryCount = 8;
  s.BoundaryRingSize.Resize(3), s.BoundaryX.Resize(8), s.BoundaryY.Resize(8);
  s.BoundaryRingSize(1) = 4, s.BoundaryRingSize(2) = 3, s.BoundaryRingSize(3) = 1;
  for (int j = 1; j <= 8; ++j) s.BoundaryX(j) = j, s.BoundaryY(j) = static_cast<float>(10 * j);
  s.VectorScale = 0.25, s.Magnification = 1;
  return s;
}

// Fills the nodes and their boundary mask, and MaxSpeed as the running
// maximum over the interior nodes.
inline void SetNodes(ModelState& s, const std::vector<TestNode>& nodes) {
  s.NodeCount = static_cast<int>(nodes.size());
  s.NodeX.Resize(s.NodeCount), s.NodeY.Resize(s.NodeCount), s.NodeU.Resize(s.NodeCount);
  s.NodeV.Resize(s.NodeCount), s.IsBoundaryNode.Resize(s.NodeCount);
  for (int i = 1; i <= s.NodeCount; ++i) {
    const TestNode& n = nodes[static_cast<size_t>(i - 1)];
    s.NodeX(i) = n.x, s.NodeY(i) = n.y, s.NodeU(i) = n.u, s.NodeV(i) = n.v, s.IsBoundaryNode(i) = n.boundary;
    if (!n.boundary) s.MaxSpeed = std::max(s.MaxSpeed, std::hypot(double{n.u}, double{n.v}));
  }
}

// A surface of the start-up size showing the full view of a state.
inline RecordingSurface FullViewSurface(const ModelState& s) {
  RecordingSurface surface(800, 800);
  SetMapScale(surface, s);
  return surface;
}

}  // namespace lakedrift::test
