#pragma once
#include <string>
#include <vector>

#include "HalfPlane.h"
#include "LakeMesher.h"

namespace lakedrift::datagen {

// One lake region of the program: its file code, the spacing of its mesh
// and the cut lines that carve it out of the whole lake.
struct LakeRegion {
  int number = 0;               // the program's region number, 1..3
  std::string code;             // "tan", "mal", "zam": prefix of the flow files
  std::string geometryFile;     // "geomtan.inp", …
  MeshSpacing spacing;          // coastKm also sets how finely the coast is kept
  std::vector<HalfPlane> cuts;  // empty for the whole lake
};

// The three regions, in the program's order.
std::vector<LakeRegion> ProgramRegions();

}  // namespace lakedrift::datagen
