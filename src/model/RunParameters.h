#pragma once
#include <cstdint>

#include "model/ModelState.h"

namespace lakedrift {

// The run and drawing parameters of the model state, in the units it holds
// them (ModelState has the meaning of each).
struct RunParameters {
  double VectorScale;
  int16_t FrameCount;
  float FramePeriod;  // s per animation frame
  double ParticleCount;
  double TimeStep;       // s
  int16_t SimHours;      // h
  double DiffusionCoef;  // m²/s
};

// The parameters every run starts from: the main window's start-up sets
// them, the parameter dialog shows them and falls back on them, and the
// batch tool takes what its options leave open from them.
RunParameters DefaultRunParameters();

// Writes the parameters into the state, in the order the main window's
// start-up sets them.
void ApplyRunParameters(const RunParameters& parameters, ModelState& state);

}  // namespace lakedrift
