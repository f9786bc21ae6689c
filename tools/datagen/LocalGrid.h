#pragma once
#include <string>
#include <vector>

#include "CoastRing.h"
#include "LakeMesh.h"

namespace lakedrift::datagen {

// A region's own km grid: the shoreline's plane moved so that the south-west
// corner of the region's coast lies at the origin, every coast point at
// x, y >= 0. The geometry file names the grid by a PROJ string that maps
// longitude and latitude straight to it.
class LocalGrid {
 public:
  // The grid whose origin is the south-west corner of the bounding box of
  // the mesh's coast rings, rounded to the 0.1 m of the geometry file.
  static LocalGrid SouthWestOf(const LakeMesh& mesh);

  // The mesh and the rings in this grid.
  LakeMesh Moved(LakeMesh mesh) const;
  std::vector<CoastRing> Moved(std::vector<CoastRing> rings) const;

  // The PROJ string of the grid, in km.
  std::string Georef() const;

  // Where the origin lies in the shoreline's plane, km.
  Vec2 Origin() const { return origin_; }

 private:
  explicit LocalGrid(Vec2 origin) : origin_(origin) {}

  Vec2 origin_;
};

}  // namespace lakedrift::datagen
