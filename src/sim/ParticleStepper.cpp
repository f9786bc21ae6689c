#include "sim/ParticleStepper.h"

namespace lakedrift {

void ParticleStepper::IndexGeometry() {
  mesh_ = StepMesh(state_);
  shore_ = ShoreIndex::ForMetres(state_);
}

void ParticleStepper::Move(double x, double y, double& xNew, double& yNew) {
  const StepField field{
      mesh_, shore_, state_.NodeU.Data(), state_.NodeV.Data(), state_.TimeStep, DiffusionAmplitude(state_)};
  StepParticle(field, SharedElement{currentElement_}, SequenceDeviates{random_}, x, y, xNew, yNew);
}

}  // namespace lakedrift
