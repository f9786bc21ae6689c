#pragma once
#include <vector>

#include "CoastRing.h"
#include "LakeMesh.h"

namespace lakedrift::datagen {

// Fills a region's coast with a quality triangular mesh: constrained
// Delaunay triangulation of the rings, refined until every triangle has
// angles of at least about 20.7° and edges of about the element size.
class LakeMesher {
 public:
  explicit LakeMesher(double elementSizeKm) : elementSize_(elementSizeKm) {}

  // Meshes the water between the rings (shore first, then islands). The
  // mesh's coast rings are the input rings with every point the mesher
  // added on them. Throws std::runtime_error if the mesh's boundary does not
  // close into one ring per input ring.
  LakeMesh Mesh(const std::vector<CoastRing>& rings) const;

 private:
  double elementSize_;
};

}  // namespace lakedrift::datagen
