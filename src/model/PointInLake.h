#pragma once
#include <cstdint>

#include "model/Array1.h"
#include "model/ModelState.h"

namespace lakedrift {

// 1 when (x, y) lies on the water of the lake described by closed coast
// rings stored back to back (inside the shore ring and outside every
// island), 0 otherwise: a crossing count of a ray toward −x. Unit-free.
int16_t PointInRings(const Array1<int>& ringSizes, int ringCount, const Array1<double>& ringX,
                     const Array1<float>& ringY, double x, double y);

// The test against the coast in km (the release point).
int16_t PointInLake(const ModelState& state, double x, double y);

// The test against the coast in metres (the particle step).
int16_t PointInLakeMetres(const ModelState& state, double x, double y);

}  // namespace lakedrift
