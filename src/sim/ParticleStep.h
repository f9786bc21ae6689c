#pragma once
#include <cmath>
#include <cstdint>
#include <vector>

#include "model/ModelState.h"
#include "model/ShoreIndex.h"
#include "sim/CounterRandom.h"
#include "sim/ElementLocation.h"
#include "sim/GaussianRandom.h"

namespace lakedrift {

// The mesh as the particle step reads it, built once from the geometry:
// each element's vertices (metres) and neighbours for the walk, and its
// shape-function coefficients in single precision for the interpolation.
class StepMesh {
 public:
  StepMesh() = default;
  explicit StepMesh(const ModelState& state);

  // The element that holds (x, y) m, walking from element `start` across
  // the first edge that has the point on its outer side; the element at
  // which the walk met the coast when it can go no further; 0 only when
  // start is 0. A walk that would cycle is answered by the exhaustive scan
  // (or, when no element holds the point, by the element it stopped at).
  int Walk(double x, double y, int start) const;
  // The velocity at (x, y) m interpolated linearly over element e alone
  // from the node velocities u, v (node n at index n − 1), m/s.
  void Velocity(int e, const float* u, const float* v, double x, double y, double& velocityX,
                double& velocityY) const;
  std::size_t HeldBytes() const;

 private:
  static constexpr int kVertices = 3;
  struct WalkElement {
    double x[kVertices], y[kVertices];
    int neighbour[kVertices];
  };
  struct ShapeElement {
    float a[kVertices], b[kVertices], c[kVertices];
    double twoArea;
    int node[kVertices];  // node number − 1
  };
  // The first edge (0..2) of element e that has the point outside, −1 if none.
  int FailingEdge(int e, double x, double y) const;
  int Scan(double x, double y) const;

  std::vector<WalkElement> walk_;
  std::vector<ShapeElement> shape_;
};

// The walk and the interpolation are inline: they run once per particle
// per step in every engine's inner loop.
inline int StepMesh::FailingEdge(int e, double x, double y) const {
  const WalkElement& w = walk_[static_cast<std::size_t>(e - 1)];
  for (int j = 0; j < kVertices; ++j) {
    const int k = (j + 1) % kVertices;
    if (OutsideEdge(w.x[j], w.y[j], w.x[k], w.y[k], x, y)) return j;
  }
  return -1;
}

inline int StepMesh::Walk(double x, double y, int start) const {
  int current = start;
  int previous = 0;
  // A walk that has not ended after ElementCount moves has come back to an
  // element it left before; being deterministic, it would cycle for ever.
  auto movesLeft = static_cast<long>(walk_.size());
  while (current != 0) {
    const int edge = FailingEdge(current, x, y);
    if (edge < 0) return current;
    if (movesLeft-- == 0) {
      const int found = Scan(x, y);
      return found != 0 ? found : current;
    }
    previous = current;
    current = walk_[static_cast<std::size_t>(current - 1)].neighbour[edge];
  }
  return previous;
}

inline void StepMesh::Velocity(int e, const float* u, const float* v, double x, double y, double& velocityX,
                               double& velocityY) const {
  const ShapeElement& s = shape_[static_cast<std::size_t>(e - 1)];
  velocityX = 0, velocityY = 0;
  for (int j = 0; j < kVertices; ++j) {
    const double shape = s.a[j] + s.b[j] * x + s.c[j] * y;
    velocityX += shape * static_cast<double>(u[s.node[j]]) / s.twoArea;
    velocityY += shape * static_cast<double>(v[s.node[j]]) / s.twoArea;
  }
}

// What one step reads besides the particle: the mesh, the coast, the frame
// in force and the step's length and diffusion amplitude.
struct StepField {
  const StepMesh& mesh;
  const ShoreIndex& shore;
  const float* u;  // m/s, node n at index n − 1
  const float* v;
  double dt;         // s
  double amplitude;  // √(2·K·Δt), metres per unit deviate
};

// √(2·K·Δt) of the state's DiffusionCoef and TimeStep, in metres.
inline double DiffusionAmplitude(const ModelState& state) {
  return std::sqrt(2 * state.DiffusionCoef * state.TimeStep);
}

// Element memories: where the walk starts and what it answered is kept.
// One element shared by every particle, in the order they are moved.
struct SharedElement {
  int& element;
  int Start() const { return element; }
  void Keep(int e) { element = e; }
};
// Each particle's own element.
struct OwnElement {
  int16_t& element;
  int Start() const { return element; }
  void Keep(int e) { element = static_cast<int16_t>(e); }
};

// Random sources: the two deviates of a move, x first.
// One sequence drawn on in the order particles are moved.
struct SequenceDeviates {
  GaussianRandom& random;
  void Draw(float& dx, float& dy) {
    dx = random(1.0f, 0.0f);
    dy = random(1.0f, 0.0f);
  }
};
// Deviates drawn beforehand, e.g. for many particles at once.
struct GivenDeviates {
  float x, y;
  void Draw(float& dx, float& dy) const {
    dx = x;
    dy = y;
  }
};

// Where a particle at (x, y) m ends a move by (dx, dy): the move's end when
// it lies on the water; else the point sent back by the same displacement,
// (x − dx, y − dy), when that lies on the water; else (x, y) itself, so no
// position is ever off the water. Points are tested as they are stored,
// y in single precision.
void SettleMove(const ShoreIndex& shore, double x, double y, double dx, double dy, double& xNew,
                double& yNew);

// The particle step of every run: the element walk from the remembered
// element, the current interpolated there, two deviates for the random
// walk and the shore's answer (SettleMove). Returns the new position in
// (xNew, yNew); y is stored by the caller in single precision.
template <typename ElementMemory, typename Deviates>
inline void StepParticle(const StepField& field, ElementMemory element, Deviates deviates, double x, double y,
                         double& xNew, double& yNew) {
  const int found = field.mesh.Walk(x, y, element.Start());
  if (found > 0) element.Keep(found);
  double u = 0, v = 0;
  field.mesh.Velocity(element.Start(), field.u, field.v, x, y, u, v);
  float deviateX = 0, deviateY = 0;
  deviates.Draw(deviateX, deviateY);
  const double dx = field.dt * u + field.amplitude * deviateX;
  const double dy = field.dt * v + field.amplitude * deviateY;
  SettleMove(field.shore, x, y, dx, dy, xNew, yNew);
}

}  // namespace lakedrift
