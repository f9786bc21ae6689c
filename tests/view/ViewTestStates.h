#pragma once
#include <cmath>
#include <vector>

#include "model/ModelState.h"
#include "view/MapView.h"
#include "view/RecordingSurface.h"

namespace lakedrift::test {

// A node of a hand-built flow frame.
struct TestNode {
  double x, y;
  float u, v;
  bool boundary = false;
};

// A square map extent with one four-point ring inside, as the geometry
// reader would leave it, and the start-up view state.
inline ModelState SquareMapState(double xMin, double yMin, double size, float mapSize) {
  ModelState s;
  s.RegionTitle = "LAKE TANGANYIKA";
  s.MapXMin = xMin, s.MapXMax = xMin + size, s.MapWidth = size;
  s.MapYMin = yMin, s.MapYMax = yMin + size, s.MapHeight = size;
  s.MapSize = mapSize;
  s.BoundaryRingCount = 1;
  s.BoundaryRingSize.Resize(1);
  s.BoundaryRingSize(1) = 4;
  s.BoundaryCount = 4;
  s.BoundaryX.Resize(4), s.BoundaryY.Resize(4);
  const double corners[4][2] = {{0.1, 0.1}, {0.9, 0.1}, {0.9, 0.9}, {0.1, 0.9}};
  for (int j = 1; j <= 4; ++j) {
    s.BoundaryX(j) = xMin + corners[j - 1][0] * size;
    s.BoundaryY(j) = static_cast<float>(yMin + corners[j - 1][1] * size);
  }
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

inline double Length(const RecordingSurface::Operation& line) {
  return std::hypot(double{line.x2} - line.x1, double{line.y2} - line.y1);
}

}  // namespace lakedrift::test
