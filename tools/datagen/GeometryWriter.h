#pragma once
#include <filesystem>
#include <string>

#include "LakeMesh.h"

namespace lakedrift::datagen {

// Writes a mesh as the program's geometry file: ring count and sizes, the
// four counts, then the element, node and boundary-point records, all
// numbered from 1, and last a line 'georef <PROJ string>' naming the grid.
class GeometryWriter {
 public:
  // Writes the file; throws std::runtime_error if it cannot be written or
  // the mesh has more items than 16-bit record numbers can count.
  static void Write(const LakeMesh& mesh, const std::string& georef, const std::filesystem::path& path);
};

}  // namespace lakedrift::datagen
