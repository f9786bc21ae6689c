#pragma once
#include <cstdint>

#include "model/ModelState.h"
#include "model/ShoreIndex.h"
#include "sim/GaussianRandom.h"

namespace lakedrift {

// The velocity of the current flow frame at (x, y) m, interpolated linearly
// over element e alone (shape coefficients held in single precision), m/s.
void InterpolateVelocity(const ModelState& state, int e, double x, double y, double& u, double& v);

// Where a particle at (x, y) m ends a move by (dx, dy): the move's end when
// it lies on the water; else the point sent back by the same displacement,
// (x − dx, y − dy), when that lies on the water; else (x, y) itself, so no
// position is ever off the water. Points are tested as they are stored,
// y in single precision.
void SettleMove(const ShoreIndex& shore, double x, double y, double dx, double dy, double& xNew, double& yNew);

// Moves particles one time step at a time: the element walk from the
// element found last, the interpolated current, two normal draws (x first)
// for the random walk, and the shore's answer to a move off the water
// (SettleMove). One element and
// one random sequence are shared by every particle moved, in the order
// they are moved.
class ParticleStepper {
 public:
  ParticleStepper(const ModelState& state, uint64_t seed) : state_(state), random_(seed) {}

  // Builds the index of the coast in metres that the shore test uses; call
  // once the geometry is loaded, before the first move.
  void IndexCoast() { shore_ = ShoreIndex::ForMetres(state_); }

  // Moves a particle at (x, y) m through one TimeStep; returns its new
  // position in (xNew, yNew).
  void Move(double x, double y, double& xNew, double& yNew);

  int CurrentElement() const { return currentElement_; }
  void SetCurrentElement(int e) { currentElement_ = e; }
  uint64_t RandomDraws() const { return random_.Draws(); }

 private:
  const ModelState& state_;
  GaussianRandom random_;
  ShoreIndex shore_;
  int currentElement_ = 1;
};

}  // namespace lakedrift
