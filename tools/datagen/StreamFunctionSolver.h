#pragma once
#include <Eigen/SparseCore>
#include <Eigen/SparseLU>
#include <vector>

#include "LakeMesh.h"

namespace lakedrift::datagen {

// Steady, linear wind-driven circulation on a mesh with bottom friction and
// the Earth's rotation. The depth-integrated transport (U, V) = (∂ψ/∂y,
// −∂ψ/∂x) of a stream function ψ satisfies the depth-averaged momentum
// balance divided by the depth,
//     (f/H) k×U = −g∇η + τ/(ρH) − (r/H²) U,
// whose curl eliminates the surface slope η; friction r/H² and the f/H term
// steer the flow along the depth contours. Solved with P1 finite elements in
// the weak form of that balance, tested with divergence-free velocities of
// hat-function stream functions. On the shore ring ψ is given (0 on the real
// shore, the enclosing solution's value on cut lines); each island is one
// unknown constant, so water passes between an island and the shore as the
// balance requires. The matrix is factored once and every stress pattern
// reuses it.
class StreamFunctionSolver {
 public:
  // Linear bottom-friction velocity r (m/s): in the shallows, where stress
  // and friction balance, a stress τ drives a current τ/(ρr), about 4 cm/s
  // in a 6 m/s wind.
  static constexpr double kFrictionVelocity = 1.5e-3;

  // Builds and factors the system; depth in m per node, the Coriolis
  // parameter f in 1/s, open[n] true for nodes on cut lines (the flow may
  // cross the coast there).
  StreamFunctionSolver(const LakeMesh& mesh, const std::vector<double>& nodeDepthM,
                       const std::vector<bool>& open, double coriolis);

  // The stream function (m³/s) at each node for a wind stress in N/m² per
  // element and ψ at the nodes of the shore ring (m³/s, indexed by node;
  // other entries are ignored).
  std::vector<double> StreamFunction(const std::vector<Vec2>& elementStress,
                                     const std::vector<double>& shoreValues) const;

  // Depth-integrated transport in m²/s at each node of a stream function:
  // element values averaged onto the nodes with the elements' areas as
  // weights, and on the real coast turned along it (no flow through it).
  std::vector<Vec2> NodeTransport(const std::vector<double>& psi) const;

  // Turns node vectors on the real coast along it (the coast's direction at
  // a node being the bisector of its two coast edges).
  void TurnAlongCoast(std::vector<Vec2>& nodeVectors) const;

  // The depth the solution sees at each node, m: the elements' depths
  // averaged onto the node with the same weights as the transport, so that
  // transport / depth there is the depth-averaged current of the elements
  // round it. Near the shore this is the depth the mesh resolves, deeper
  // than the few metres right at the waterline.
  std::vector<double> NodeDepth() const;

 private:
  const LakeMesh& mesh_;
  std::vector<bool> open_;
  std::vector<double> elementDepth_;           // m, mean of the vertices
  std::vector<double> elementArea_;            // m²
  std::vector<std::array<Vec2, 3>> grad_;      // gradients of the hat functions, 1/m
  std::vector<int> unknownOf_;                 // node → unknown, -1 on the shore ring
  Eigen::SparseMatrix<double> shoreCoupling_;  // unknowns × nodes: the given ψ's share
  Eigen::SparseLU<Eigen::SparseMatrix<double>> solver_;
};

}  // namespace lakedrift::datagen
