#pragma once
#include <Eigen/SparseCholesky>
#include <vector>

#include "LakeMesh.h"

namespace lakedrift::datagen {

// Steady, linear, frictional wind-driven circulation on a mesh. The
// depth-integrated transport (U, V) = (∂ψ/∂y, −∂ψ/∂x) of a stream function ψ
// balances wind stress against linear bottom friction r·u:
//     ∇·((r/H²)∇ψ) + curl(τ/(ρH)) = 0,   ψ = 0 on every coast ring,
// the curl of the depth-averaged momentum balance with the surface slope
// eliminated and the Coriolis term left out. Pinning ψ to 0 on the islands
// too means no net transport passes between an island and the shore; a
// constant per island would allow it, but the islands are small.
// Solved with P1 finite elements; the matrix is factored once and every
// stress pattern reuses it.
class StreamFunctionSolver {
 public:
  // Builds and factors the system; depth in m per node.
  StreamFunctionSolver(const LakeMesh& mesh, const std::vector<double>& nodeDepthM);

  // Depth-integrated transport in m²/s at each node for a wind stress in
  // N/m² per element: element values of the transport averaged onto the
  // nodes with the elements' areas as weights, and on the coast turned
  // along it (no flow through the coast).
  std::vector<Vec2> NodeTransport(const std::vector<Vec2>& elementStress) const;

  // The depth the solution sees at each node, m: the elements' depths
  // averaged onto the node with the same weights as the transport, so that
  // transport / depth there is the depth-averaged current of the elements
  // round it. Near the shore this is the depth the mesh resolves, deeper
  // than the few metres right at the waterline.
  std::vector<double> NodeDepth() const;

  // The stream function (m³/s) at each node for a stress per element.
  std::vector<double> StreamFunction(const std::vector<Vec2>& elementStress) const;

 private:
  const LakeMesh& mesh_;
  std::vector<double> elementDepth_;     // m, mean of the vertices
  std::vector<double> elementArea_;      // m²
  std::vector<std::array<Vec2, 3>> grad_;  // gradients of the hat functions, 1/m
  std::vector<int> unknownOf_;           // node → unknown, -1 on the coast
  Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>> solver_;
};

}  // namespace lakedrift::datagen
