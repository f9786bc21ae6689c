#include "StreamFunctionSolver.h"

#include <stdexcept>

namespace lakedrift::datagen {

namespace {

constexpr double kMetresPerKm = 1000.0;
constexpr double kWaterDensity = 1000.0;  // kg/m³

}  // namespace

StreamFunctionSolver::StreamFunctionSolver(const LakeMesh& mesh, const std::vector<double>& nodeDepthM,
                                           const std::vector<bool>& open, double coriolis)
    : mesh_(mesh), open_(open) {
  const std::size_t elementCount = mesh.elements.size();
  elementDepth_.resize(elementCount);
  elementArea_.resize(elementCount);
  grad_.resize(elementCount);

  // Interior nodes one unknown each, every island one, the shore none.
  unknownOf_.assign(mesh.nodes.size(), 0);
  for (std::size_t r = 0; r < mesh.rings.size(); ++r) {
    for (const int n : mesh.rings[r]) unknownOf_[n] = r == 0 ? -1 : -2 - static_cast<int>(r);
  }
  int unknowns = 0;
  std::vector<int> islandUnknown(mesh.rings.size(), -1);
  for (int& u : unknownOf_) {
    if (u == 0) {
      u = unknowns++;
    } else if (u < -1) {
      int& island = islandUnknown[-2 - u];
      if (island < 0) island = unknowns++;
      u = island;
    }
  }

  std::vector<Eigen::Triplet<double>> entries, coupling;
  for (std::size_t e = 0; e < elementCount; ++e) {
    const auto& v = mesh.elements[e];
    Vec2 p[3];
    for (int j = 0; j < 3; ++j) p[j] = kMetresPerKm * mesh.nodes[v[j]];
    const double twiceArea = Cross(p[1] - p[0], p[2] - p[0]);
    if (twiceArea <= 0.0) throw std::runtime_error("an element is not counter-clockwise");
    for (int j = 0; j < 3; ++j) {
      const Vec2 a = p[(j + 1) % 3];
      const Vec2 b = p[(j + 2) % 3];
      grad_[e][j] = {(a.y - b.y) / twiceArea, (b.x - a.x) / twiceArea};
    }
    elementArea_[e] = 0.5 * twiceArea;
    elementDepth_[e] = (nodeDepthM[v[0]] + nodeDepthM[v[1]] + nodeDepthM[v[2]]) / 3.0;
    const double friction = kFrictionVelocity / (elementDepth_[e] * elementDepth_[e]) * elementArea_[e];
    const double rotation = coriolis / elementDepth_[e] * elementArea_[e];
    for (int i = 0; i < 3; ++i) {
      const int row = unknownOf_[v[i]];
      if (row < 0) continue;
      for (int j = 0; j < 3; ++j) {
        // ∫ (r/H²)∇ψ·∇φ + (f/H)(ψx φy − ψy φx) with ψ → j, φ → i.
        const double value =
            friction * Dot(grad_[e][i], grad_[e][j]) + rotation * Cross(grad_[e][j], grad_[e][i]);
        const int column = unknownOf_[v[j]];
        if (column < 0) {
          coupling.emplace_back(row, v[j], value);
        } else {
          entries.emplace_back(row, column, value);
        }
      }
    }
  }
  Eigen::SparseMatrix<double> matrix(unknowns, unknowns);
  matrix.setFromTriplets(entries.begin(), entries.end());
  matrix.makeCompressed();
  shoreCoupling_.resize(unknowns, static_cast<Eigen::Index>(mesh.nodes.size()));
  shoreCoupling_.setFromTriplets(coupling.begin(), coupling.end());
  solver_.compute(matrix);
  if (solver_.info() != Eigen::Success) {
    throw std::runtime_error("the stream-function matrix cannot be factored");
  }
}

std::vector<double> StreamFunctionSolver::StreamFunction(const std::vector<Vec2>& elementStress,
                                                         const std::vector<double>& shoreValues) const {
  // Right side: ∫ (Fx ∂φ/∂y − Fy ∂φ/∂x) with F = τ/(ρH) constant on each
  // element, less what the given ψ on the shore ring contributes.
  Eigen::VectorXd given = Eigen::VectorXd::Zero(static_cast<Eigen::Index>(mesh_.nodes.size()));
  for (std::size_t n = 0; n < mesh_.nodes.size(); ++n) {
    if (unknownOf_[n] < 0) given[static_cast<Eigen::Index>(n)] = shoreValues[n];
  }
  Eigen::VectorXd rhs = -(shoreCoupling_ * given);
  for (std::size_t e = 0; e < mesh_.elements.size(); ++e) {
    const Vec2 force = (1.0 / (kWaterDensity * elementDepth_[e])) * elementStress[e];
    for (int i = 0; i < 3; ++i) {
      const int row = unknownOf_[mesh_.elements[e][i]];
      if (row < 0) continue;
      rhs[row] += elementArea_[e] * (force.x * grad_[e][i].y - force.y * grad_[e][i].x);
    }
  }
  const Eigen::VectorXd solution = solver_.solve(rhs);
  std::vector<double> psi(mesh_.nodes.size());
  for (std::size_t n = 0; n < psi.size(); ++n) {
    psi[n] = unknownOf_[n] >= 0 ? solution[unknownOf_[n]] : shoreValues[n];
  }
  return psi;
}

std::vector<double> StreamFunctionSolver::NodeDepth() const {
  std::vector<double> sum(mesh_.nodes.size(), 0.0);
  std::vector<double> weight(mesh_.nodes.size(), 0.0);
  for (std::size_t e = 0; e < mesh_.elements.size(); ++e) {
    for (const int n : mesh_.elements[e]) {
      sum[n] += elementArea_[e] * elementDepth_[e];
      weight[n] += elementArea_[e];
    }
  }
  for (std::size_t n = 0; n < sum.size(); ++n) sum[n] /= weight[n];
  return sum;
}

std::vector<Vec2> StreamFunctionSolver::NodeTransport(const std::vector<double>& psi) const {
  std::vector<Vec2> sum(mesh_.nodes.size());
  std::vector<double> weight(mesh_.nodes.size(), 0.0);
  for (std::size_t e = 0; e < mesh_.elements.size(); ++e) {
    Vec2 gradient;
    for (int j = 0; j < 3; ++j) gradient = gradient + psi[mesh_.elements[e][j]] * grad_[e][j];
    const Vec2 transport{gradient.y, -gradient.x};
    for (const int n : mesh_.elements[e]) {
      sum[n] = sum[n] + elementArea_[e] * transport;
      weight[n] += elementArea_[e];
    }
  }
  for (std::size_t n = 0; n < sum.size(); ++n) sum[n] = (1.0 / weight[n]) * sum[n];
  TurnAlongCoast(sum);
  return sum;
}

void StreamFunctionSolver::TurnAlongCoast(std::vector<Vec2>& sum) const {
  // Every element on the coast carries its transport exactly along the
  // coast (ψ is constant along a shore), but a coast node also averages in
  // the elements behind it. Keep only the part along the coast there, taking
  // the coast's direction at a node as the bisector of its two coast edges;
  // on cut lines the flow passes.
  for (const auto& ring : mesh_.rings) {
    const std::size_t size = ring.size();
    for (std::size_t i = 0; i < size; ++i) {
      if (open_[ring[i]]) continue;
      const Vec2 p = mesh_.nodes[ring[i]];
      const Vec2 in = p - mesh_.nodes[ring[(i + size - 1) % size]];
      const Vec2 out = mesh_.nodes[ring[(i + 1) % size]] - p;
      Vec2 tangent = (1.0 / Length(in)) * in + (1.0 / Length(out)) * out;
      const double length = Length(tangent);
      if (length == 0.0) continue;  // a reversal cannot happen in a simple ring
      tangent = (1.0 / length) * tangent;
      sum[ring[i]] = Dot(sum[ring[i]], tangent) * tangent;
    }
  }
}

}  // namespace lakedrift::datagen
