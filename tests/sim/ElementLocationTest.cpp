#include <gtest/gtest.h>

#include <tuple>

#include "model/GeometryReader.h"
#include "sim/ElementLocation.h"
#include "support/TestPaths.h"

namespace lakedrift {
namespace {

// The test lake's cells are 2 km squares; cell (i, j) holds elements
// 2c − 1 (lower right) and 2c, numbered row by row without the island cell.
// Faults: an edge or vertex not counted as inside, the orientation test
// reversed (a clockwise triangle would then hold its points).
TEST(PointInElement, InsideOnEdgeAndOutsideOfACounterClockwiseTriangle) {
  ModelState state;
  const double corners[3][2] = {{0, 0}, {10, 0}, {0, 10}};
  for (int j = 1; j <= 3; ++j)
    state.TriX(j) = corners[j - 1][0], state.TriY(j) = static_cast<float>(corners[j - 1][1]);
  const double points[][3] = {{2, 2, 1}, {5, 0, 1}, {5, 5, 1}, {10, 0, 1}, {6, 6, 0}, {-1, 1, 0}};
  for (const auto& p : points) EXPECT_EQ(PointInElement(state, p[0], p[1]), p[2]) << p[0] << ", " << p[1];
  std::swap(state.TriX(2), state.TriX(3)), std::swap(state.TriY(2), state.TriY(3));
  EXPECT_EQ(PointInElement(state, 2, 2), 0);
}

// Faults: the release point's element taken from the walk's start, a point
// on a shared edge given to the higher element, no fallback off the water.
TEST(ReleaseElement, IsTheFirstElementHoldingTheReleasePoint) {
  ModelState state;
  ASSERT_TRUE(ReadGeometry(state, test::TestDataPath("testlake.inp")).ok());
  const double rows[][3] = {{1.5, 0.5, 1}, {0.5, 1.5, 2}, {1, 1, 1}, {3, 1, 3}, {5, 5, kFirstElement}};
  for (const auto& row : rows) {
    state.ReleaseX = row[0], state.ReleaseY = static_cast<float>(row[1]);
    EXPECT_EQ(ReleaseElement(state), static_cast<int>(row[2])) << row[0] << ", " << row[1];
  }
}

// Four triangles round a central node, one neighbour entry corrupt:
// element 4's edge 1 is shared with element 3 but names element 1, whose
// edge 1 leads back to element 4. A point in element 3 walked from element 1
// makes the plain walk go 1, 4, 1, 4, … for ever.
ModelState CyclingMesh() {
  ModelState s;
  s.NodesPerElement = 3, s.NodeCount = 5, s.ElementCount = 4;
  s.NodeXMetres.Resize(5), s.NodeYMetres.Resize(5), s.ElemNode.Resize(3, 4), s.ElemNeighbour.Resize(3, 4);
  const double xs[] = {0, 10, 0, -10, 0}, ys[] = {0, 0, 10, 0, -10};
  for (int n = 1; n <= 5; ++n) s.NodeXMetres(n) = xs[n - 1], s.NodeYMetres(n) = ys[n - 1];
  // Element e = (centre, rim e, rim e + 1), counter-clockwise.
  for (int e = 1; e <= 4; ++e) {
    s.ElemNode(1, e) = 1, s.ElemNode(2, e) = e + 1, s.ElemNode(3, e) = e % 4 + 2;
    // Edge 1 borders element e − 1 (4 for element 1), but element 4's names element 1.
    s.ElemNeighbour(1, e) = static_cast<int16_t>(e == 1 ? 4 : e == 4 ? 1 : e - 1), s.ElemNeighbour(2, e) = 0;
    s.ElemNeighbour(3, e) = static_cast<int16_t>(e % 4 + 1);
  }
  return s;
}

TEST(FindElement, CyclingWalkIsStoppedAndAnsweredByTheScan) {
  // Started in the element that holds the point, no walk is needed.
  const ModelState state = CyclingMesh();
  EXPECT_EQ(std::tuple(FindElement(state, -2, -2, 1), FindElement(state, -2, -2, 3)), std::tuple(3, 3));
}

}  // namespace
}  // namespace lakedrift
