#pragma once
#include <cstdint>

#include "model/ModelState.h"
#include "model/ShoreIndex.h"
#include "sim/GaussianRandom.h"
#include "sim/ParticleStep.h"

namespace lakedrift {

// Moves particles one time step at a time with the particle step
// (StepParticle), one element and one random sequence shared by every
// particle moved, in the order they are moved: the desktop's serial run.
class ParticleStepper {
 public:
  ParticleStepper(const ModelState& state, uint64_t seed) : state_(state), random_(seed) {}

  // Builds the mesh tables and the index of the coast in metres that the
  // step reads; call once the geometry is loaded, before the first move.
  void IndexGeometry();

  // Moves a particle at (x, y) m through one TimeStep with the frame now in
  // the state; returns its new position in (xNew, yNew).
  void Move(double x, double y, double& xNew, double& yNew);

  int CurrentElement() const { return currentElement_; }
  void SetCurrentElement(int e) { currentElement_ = e; }
  uint64_t RandomDraws() const { return random_.Draws(); }

 private:
  const ModelState& state_;
  GaussianRandom random_;
  StepMesh mesh_;
  ShoreIndex shore_;
  int currentElement_ = 1;
};

}  // namespace lakedrift
