#include <gtest/gtest.h>

#include "model/GeometryReader.h"
#include "sim/ElementLocation.h"
#include "support/TestPaths.h"

namespace lakedrift {
namespace {

ModelState TestLake() {
  ModelState state;
  const Status s = ReadGeometry(state, test::TestDataPath("testlake.inp"));
  EXPECT_TRUE(s.ok()) << s.message();
  return state;
}

// The test lake's cells are 2 km squares; cell (i, j) holds elements
// 2c − 1 (lower right) and 2c, numbered row by row without the island cell.
constexpr double kM = 1000.0;

TEST(PointInElement, InsideOnEdgeAndOutside) {
  ModelState state;
  state.TriX(1) = 0, state.TriY(1) = 0;
  state.TriX(2) = 10, state.TriY(2) = 0;
  state.TriX(3) = 0, state.TriY(3) = 10;
  EXPECT_EQ(PointInElement(state, 2, 2), 1);
  EXPECT_EQ(PointInElement(state, 5, 0), 1);   // on an edge
  EXPECT_EQ(PointInElement(state, 5, 5), 1);   // on the slanted edge
  EXPECT_EQ(PointInElement(state, 10, 0), 1);  // at a vertex
  EXPECT_EQ(PointInElement(state, 6, 6), 0);
  EXPECT_EQ(PointInElement(state, -1, 1), 0);
}

TEST(PointInElement, ClockwiseTriangleHoldsNothing) {
  ModelState state;
  state.TriX(1) = 0, state.TriY(1) = 0;
  state.TriX(2) = 0, state.TriY(2) = 10;
  state.TriX(3) = 10, state.TriY(3) = 0;
  EXPECT_EQ(PointInElement(state, 2, 2), 0);
  EXPECT_EQ(PointInElement(state, 1, 1), 0);
}

TEST(FindElement, StartElementThatHoldsThePointIsKept) {
  const ModelState state = TestLake();
  // Element 1: nodes (0,0), (2,0), (2,2) km.
  EXPECT_EQ(FindElement(state, 1.5 * kM, 0.5 * kM, 1), 1);
  EXPECT_EQ(FindElement(state, 2 * kM, 0, 1), 1);       // at a vertex
  EXPECT_EQ(FindElement(state, 1 * kM, 1 * kM, 1), 1);  // on the shared diagonal
  EXPECT_EQ(FindElement(state, 1 * kM, 1 * kM, 2), 2);  // the other side keeps its own
}

TEST(FindElement, WalksAcrossTheMeshToThePoint) {
  ModelState state = TestLake();
  // Along the southern row, clear of the island.
  const double x = 9.5 * kM, y = 1.2 * kM;
  EXPECT_EQ(FindElement(state, x, y, 1), LocateByScan(state, x, y));
}

// True when element e holds the point by the exhaustive test.
bool Holds(ModelState& state, int e, double x, double y) {
  for (int j = 1; j <= 3; ++j) {
    const int n = state.ElemNode(j, e);
    state.TriX(j) = state.NodeXMetres(n);
    state.TriY(j) = static_cast<float>(state.NodeYMetres(n));
  }
  return PointInElement(state, x, y) == 1;
}

TEST(FindElement, EndsInTheElementOrAgainstTheCoast) {
  ModelState state = TestLake();
  int reached = 0, blocked = 0;
  for (double x = 0.1; x < 10; x += 0.37)
    for (double y = 0.05; y < 10; y += 0.41) {
      if (LocateByScan(state, x * kM, y * kM) == 0) continue;  // on the island
      const int walk = FindElement(state, x * kM, y * kM, 1);
      ASSERT_GT(walk, 0);
      if (Holds(state, walk, x * kM, y * kM)) {
        ++reached;
        continue;
      }
      // Otherwise the island stood in the way: the walk stopped at a coast
      // edge that has the point on its outer side.
      ++blocked;
      bool againstCoast = false;
      for (int j = 1; j <= 3; ++j) againstCoast = againstCoast || state.ElemNeighbour(j, walk) == 0;
      EXPECT_TRUE(againstCoast) << x << ", " << y;
    }
  EXPECT_GT(reached, 0);
  EXPECT_GT(blocked, 0);  // the island does block some straight walks
}

TEST(FindElement, PointBeyondTheCoastGivesTheElementAtTheCoast) {
  const ModelState state = TestLake();
  // South of element 1's coast edge, inside its other two edges.
  EXPECT_EQ(FindElement(state, 1.5 * kM, -0.5 * kM, 1), 1);
  // Far outside to the east: the walk ends in a boundary element.
  const int e = FindElement(state, 50 * kM, 1 * kM, 1);
  ASSERT_GT(e, 0);
  bool onCoast = false;
  for (int j = 1; j <= 3; ++j) onCoast = onCoast || state.ElemNeighbour(j, e) == 0;
  EXPECT_TRUE(onCoast);
}

TEST(FindElement, StartZeroGivesZero) {
  const ModelState state = TestLake();
  EXPECT_EQ(FindElement(state, 1 * kM, 1 * kM, 0), 0);
}

TEST(FindElement, PointOnTheIslandGivesAnElementAtTheIslandCoast) {
  const ModelState state = TestLake();
  const int e = FindElement(state, 5 * kM, 5 * kM, 1);
  ASSERT_GT(e, 0);
  bool touchesIsland = false;
  for (int j = 1; j <= 3; ++j) {
    const int n = state.ElemNode(j, e);
    touchesIsland = touchesIsland || (state.NodeX(n) >= 4 && state.NodeX(n) <= 6 && state.NodeY(n) >= 4 &&
                                      state.NodeY(n) <= 6);
  }
  EXPECT_TRUE(touchesIsland);
}

// Four triangles round a central node, one neighbour entry corrupt:
// element 4's edge 1 is shared with element 3 but names element 1, whose
// edge 1 leads back to element 4. A point in element 3 walked from element 1
// makes the plain walk go 1, 4, 1, 4, … for ever.
ModelState CyclingMesh() {
  ModelState s;
  s.NodesPerElement = 3;
  s.NodeCount = 5;
  s.ElementCount = 4;
  s.NodeXMetres.Resize(5);
  s.NodeYMetres.Resize(5);
  const double xs[] = {0, 10, 0, -10, 0}, ys[] = {0, 0, 10, 0, -10};
  for (int n = 1; n <= 5; ++n) s.NodeXMetres(n) = xs[n - 1], s.NodeYMetres(n) = ys[n - 1];
  s.ElemNode.Resize(3, 4);
  s.ElemNeighbour.Resize(3, 4);
  // Element e = (centre, rim e, rim e + 1), counter-clockwise.
  for (int e = 1; e <= 4; ++e) {
    s.ElemNode(1, e) = 1;
    s.ElemNode(2, e) = e + 1;
    s.ElemNode(3, e) = e % 4 + 2;
    s.ElemNeighbour(1, e) = static_cast<int16_t>(e == 1 ? 4 : e - 1);
    s.ElemNeighbour(2, e) = 0;
    s.ElemNeighbour(3, e) = static_cast<int16_t>(e % 4 + 1);
  }
  s.ElemNeighbour(1, 4) = 1;
  return s;
}

TEST(FindElement, CyclingWalkIsStoppedAndAnsweredByTheScan) {
  const ModelState state = CyclingMesh();
  EXPECT_EQ(FindElement(state, -2, -2, 1), 3);
  // Started in the element that holds the point, no walk is needed.
  EXPECT_EQ(FindElement(state, -2, -2, 3), 3);
}

}  // namespace
}  // namespace lakedrift
