#include "sim/ParticleStepper.h"

#include <cmath>

#include "sim/ElementLocation.h"

namespace lakedrift {
namespace {
constexpr double kHalf = 0.5;
}  // namespace

void InterpolateVelocity(const ModelState& state, int e, double x, double y, double& u, double& v) {
  float vx[3], vy[3];
  double nodeU[3], nodeV[3];
  for (int j = 0; j < 3; ++j) {
    const int n = state.ElemNode(j + 1, e);
    vx[j] = static_cast<float>(state.NodeXMetres(n));
    vy[j] = static_cast<float>(state.NodeYMetres(n));
    nodeU[j] = state.NodeU(n);
    nodeV[j] = state.NodeV(n);
  }
  float a[3], b[3], c[3];
  for (int j = 0; j < 3; ++j) {
    const int k = (j + 1) % 3, m = (j + 2) % 3;
    a[j] = static_cast<float>(static_cast<double>(vx[k]) * vy[m] - static_cast<double>(vx[m]) * vy[k]);
    b[j] = vy[k] - vy[m];
    c[j] = vx[m] - vx[k];
  }
  const double twiceArea =
      2 * std::fabs(kHalf * (static_cast<double>(b[0]) * c[1] - static_cast<double>(b[1]) * c[0]));
  u = 0, v = 0;
  for (int j = 0; j < 3; ++j) {
    const double shape = a[j] + b[j] * x + c[j] * y;
    u += shape * nodeU[j] / twiceArea;
    v += shape * nodeV[j] / twiceArea;
  }
}

void SettleMove(const ShoreIndex& shore, double x, double y, double dx, double dy, double& xNew, double& yNew) {
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

void ParticleStepper::Move(double x, double y, double& xNew, double& yNew) {
  const double dt = state_.TimeStep;
  const int found = FindElement(state_, x, y, currentElement_);
  if (found > 0) currentElement_ = found;
  double u = 0, v = 0;
  InterpolateVelocity(state_, currentElement_, x, y, u, v);

  const double amplitude = std::sqrt(2 * state_.DiffusionCoef * dt);
  const double dx = dt * u + amplitude * random_(1.0f, 0.0f);
  const double dy = dt * v + amplitude * random_(1.0f, 0.0f);
  SettleMove(shore_, x, y, dx, dy, xNew, yNew);
}

}  // namespace lakedrift
