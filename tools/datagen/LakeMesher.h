#pragma once
#include <vector>

#include "CoastRing.h"
#include "LakeMesh.h"

namespace lakedrift::datagen {

// How far apart a mesh's nodes lie: about coastKm along the coast; inside
// the water interiorKm at the coast, growing by growthPerKm for every km
// away from it, up to openWaterKm.
struct MeshSpacing {
  double coastKm = 1.0;
  double interiorKm = 1.0;
  double openWaterKm = 1.0;
  double growthPerKm = 0.0;

  // The spacing of interior nodes at a distance from the coast, km.
  double At(double distanceKm) const;
};

// Fills a region's coast with a quality triangular mesh: constrained
// Delaunay triangulation of the rings, refined until every triangle has
// angles of at least about 20.7° and edges of about the spacing there.
class LakeMesher {
 public:
  // A mesh of one spacing everywhere.
  explicit LakeMesher(double elementSizeKm) : spacing_{elementSizeKm, elementSizeKm, elementSizeKm, 0.0} {}
  // A mesh fine along the coast and coarser in open water.
  explicit LakeMesher(const MeshSpacing& spacing) : spacing_(spacing) {}

  // Meshes the water between the rings (shore first, then islands). The
  // mesh's coast rings are the input rings with every point the mesher
  // added on them. Throws std::runtime_error if the mesh's boundary does not
  // close into one ring per input ring.
  LakeMesh Mesh(const std::vector<CoastRing>& rings) const;

 private:
  MeshSpacing spacing_;
};

}  // namespace lakedrift::datagen
