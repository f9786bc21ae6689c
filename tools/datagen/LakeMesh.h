#pragma once
#include <array>
#include <vector>

#include "Vec2.h"

namespace lakedrift::datagen {

// A triangular mesh of one region, numbered from 0 (the geometry file adds 1).
struct LakeMesh {
  std::vector<Vec2> nodes;                   // km
  std::vector<std::array<int, 3>> elements;  // vertices, counter-clockwise
  // neighbours[e][j]: the element across the edge from vertex j to vertex
  // (j + 1) % 3, or kNoNeighbour on the coast.
  std::vector<std::array<int, 3>> neighbours;
  // The coast rings as node numbers along the coast, water on the left: the
  // shore first (counter-clockwise), then the islands (clockwise).
  std::vector<std::vector<int>> rings;

  static constexpr int kNoNeighbour = -1;
};

}  // namespace lakedrift::datagen
