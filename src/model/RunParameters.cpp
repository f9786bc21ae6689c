#include "model/RunParameters.h"

namespace lakedrift {

RunParameters DefaultRunParameters() {
  RunParameters p;
  // The fastest arrow a twentieth of the map: the currents show without
  // hiding the water or the tracks on any shipped region.
  p.VectorScale = 0.05;
  p.FrameCount = 83;
  p.FramePeriod = 1.0f;
  p.ParticleCount = 50;
  p.TimeStep = 7200.0;
  p.SimHours = 166;
  p.DiffusionCoef = 0.1;
  return p;
}

void ApplyRunParameters(const RunParameters& parameters, ModelState& state) {
  state.VectorScale = parameters.VectorScale;
  state.FrameCount = parameters.FrameCount;
  state.FramePeriod = parameters.FramePeriod;
  state.ParticleCount = parameters.ParticleCount;
  state.TimeStep = parameters.TimeStep;
  state.SimHours = parameters.SimHours;
  state.DiffusionCoef = parameters.DiffusionCoef;
}

}  // namespace lakedrift
