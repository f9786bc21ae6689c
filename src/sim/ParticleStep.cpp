#include "sim/ParticleStep.h"

#include "sim/ElementLocation.h"

namespace lakedrift {
namespace {

constexpr double kHalf = 0.5;

}  // namespace

StepMesh::StepMesh(const ModelState& state) {
  const auto count = static_cast<std::size_t>(state.ElementCount);
  walk_.resize(count);
  shape_.resize(count);
  for (int e = 1; e <= state.ElementCount; ++e) {
    WalkElement& w = walk_[static_cast<std::size_t>(e - 1)];
    ShapeElement& s = shape_[static_cast<std::size_t>(e - 1)];
    float vx[kVertices], vy[kVertices];
    for (int j = 0; j < kVertices; ++j) {
      const int n = state.ElemNode(j + 1, e);
      w.x[j] = state.NodeXMetres(n);
      w.y[j] = state.NodeYMetres(n);
      w.neighbour[j] = state.ElemNeighbour(j + 1, e);
      s.node[j] = n - 1;
      vx[j] = static_cast<float>(w.x[j]);
      vy[j] = static_cast<float>(w.y[j]);
    }
    for (int j = 0; j < kVertices; ++j) {
      const int k = (j + 1) % kVertices, m = (j + 2) % kVertices;
      s.a[j] = static_cast<float>(static_cast<double>(vx[k]) * vy[m] - static_cast<double>(vx[m]) * vy[k]);
      s.b[j] = vy[k] - vy[m];
      s.c[j] = vx[m] - vx[k];
    }
    s.twoArea =
        2 * std::fabs(kHalf * (static_cast<double>(s.b[0]) * s.c[1] - static_cast<double>(s.b[1]) * s.c[0]));
  }
}

int StepMesh::Scan(double x, double y) const {
  for (int e = 1; e <= static_cast<int>(walk_.size()); ++e)
    if (FailingEdge(e, x, y) < 0) return e;
  return 0;
}

std::size_t StepMesh::HeldBytes() const {
  return walk_.capacity() * sizeof(WalkElement) + shape_.capacity() * sizeof(ShapeElement);
}

void SettleMove(const ShoreIndex& shore, double x, double y, double dx, double dy, double& xNew,
                double& yNew) {
  const auto onWater = [&shore](double px, double py) {
    return shore.Contains(px, static_cast<float>(py)) != 0;
  };
  xNew = x + dx;
  yNew = y + dy;
  if (onWater(xNew, yNew)) return;
  xNew = x - dx;
  yNew = y - dy;
  if (onWater(xNew, yNew)) return;
  // Near a crooked shore the point sent back can be on land too; staying
  // put for this step is the least change that keeps the particle afloat.
  xNew = x;
  yNew = y;
}

}  // namespace lakedrift
