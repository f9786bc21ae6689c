#include "sim/ElementLocation.h"

#include "sim/ParticleStep.h"

namespace lakedrift {
namespace {
inline int NextVertex(int j) { return j % 3 + 1; }
}  // namespace

int PointInElement(const ModelState& state, double x, double y) {
  for (int i = 1; i <= kNodesPerElement; ++i) {
    const int k = NextVertex(i);
    if (OutsideEdge(state.TriX(i), state.TriY(i), state.TriX(k), state.TriY(k), x, y)) return 0;
  }
  return 1;
}

int16_t FindElement(const ModelState& state, double x, double y, int start) {
  return static_cast<int16_t>(StepMesh(state).Walk(x, y, start));
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

int ReleaseElement(ModelState& state) {
  const int located = LocateByScan(state, kMetresPerKm * state.ReleaseX, kMetresPerKm * state.ReleaseY);
  return located != 0 ? located : kFirstElement;
}

}  // namespace lakedrift
