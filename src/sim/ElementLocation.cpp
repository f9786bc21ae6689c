#include "sim/ElementLocation.h"

namespace lakedrift {
namespace {

// The edge test both operations share: true when (x, y) lies strictly to
// the right of the directed edge (xi, yi) → (xk, yk), that is, outside a
// counter-clockwise triangle across that edge. A point on the edge line is
// not outside.
inline bool OutsideEdge(double xi, double yi, double xk, double yk, double x, double y) {
  return (yi - y) * (xk - x) > (xi - x) * (yk - y);
}

inline int NextVertex(int j) { return j % 3 + 1; }

// The first edge of element e (1..3) that has the point outside, 0 if none.
int FirstFailingEdge(const ModelState& state, int e, double x, double y) {
  for (int j = 1; j <= state.NodesPerElement; ++j) {
    const int nj = state.ElemNode(j, e);
    const int nk = state.ElemNode(NextVertex(j), e);
    if (OutsideEdge(state.NodeXMetres(nj), state.NodeYMetres(nj), state.NodeXMetres(nk),
                    state.NodeYMetres(nk), x, y))
      return j;
  }
  return 0;
}

// The first element that holds the point by the walk's own edge test,
// 0 when none does.
int ScanByNodes(const ModelState& state, double x, double y) {
  for (int e = 1; e <= state.ElementCount; ++e)
    if (FirstFailingEdge(state, e, x, y) == 0) return e;
  return 0;
}

}  // namespace

int PointInElement(const ModelState& state, double x, double y) {
  for (int i = 1; i <= kNodesPerElement; ++i) {
    const int k = NextVertex(i);
    if (OutsideEdge(state.TriX(i), state.TriY(i), state.TriX(k), state.TriY(k), x, y)) return 0;
  }
  return 1;
}

int16_t FindElement(const ModelState& state, double x, double y, int start) {
  int current = start;
  int previous = 0;
  // A walk that has not ended after ElementCount moves has come back to an
  // element it left before; being deterministic, it would cycle for ever.
  long movesLeft = state.ElementCount;
  while (current != 0) {
    const int edge = FirstFailingEdge(state, current, x, y);
    if (edge == 0) return static_cast<int16_t>(current);
    if (movesLeft-- == 0) {
      const int found = ScanByNodes(state, x, y);
      return static_cast<int16_t>(found != 0 ? found : current);
    }
    previous = current;
    current = state.ElemNeighbour(edge, current);
  }
  return static_cast<int16_t>(previous);
}

int LocateByScan(ModelState& state, double x, double y) {
  for (int e = 1; e <= state.ElementCount; ++e) {
    for (int j = 1; j <= kNodesPerElement; ++j) {
      const int n = state.ElemNode(j, e);
      state.TriX(j) = state.NodeXMetres(n);
      state.TriY(j) = static_cast<float>(state.NodeYMetres(n));
    }
    if (PointInElement(state, x, y) == 1) return e;
  }
  return 0;
}

}  // namespace lakedrift
