#include "GeometryWriter.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace lakedrift::datagen {

namespace {

// Record numbers are read as signed 16-bit integers.
constexpr std::size_t kMaxRecords = 32767;
// The header's third count is not read by the program; we store the number
// of vertices per element there, which is what it customarily holds.
constexpr int kVerticesPerElement = 3;

// Coordinates to 0.1 m: far finer than the mesh, and short. A coordinate
// that rounds to zero is written as 0, never as -0.
std::string Coordinate(double km) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", km);
  return std::string(text) == "-0.0000" ? "0.0000" : text;
}

}  // namespace

void GeometryWriter::Write(const LakeMesh& mesh, const std::string& georef,
                           const std::filesystem::path& path) {
  std::size_t boundaryCount = 0;
  for (const auto& ring : mesh.rings) boundaryCount += ring.size();
  if (mesh.nodes.size() > kMaxRecords || mesh.elements.size() > kMaxRecords || boundaryCount > kMaxRecords) {
    throw std::runtime_error("the mesh for " + path.string() + " is too large");
  }
  std::ofstream out(path, std::ios::binary);
  if (!out) throw std::runtime_error("cannot write " + path.string());

  out << mesh.rings.size() << "\n";
  for (std::size_t r = 0; r < mesh.rings.size(); ++r) {
    out << (r == 0 ? "" : " ") << mesh.rings[r].size();
  }
  out << "\n"
      << mesh.nodes.size() << " " << mesh.elements.size() << " " << kVerticesPerElement << " "
      << boundaryCount << "\n";
  for (std::size_t e = 0; e < mesh.elements.size(); ++e) {
    out << e + 1;
    for (const int n : mesh.elements[e]) out << " " << n + 1;
    for (const int g : mesh.neighbours[e]) out << " " << (g == LakeMesh::kNoNeighbour ? 0 : g + 1);
    out << "\n";
  }
  for (std::size_t n = 0; n < mesh.nodes.size(); ++n) {
    out << n + 1 << " " << Coordinate(mesh.nodes[n].x) << " " << Coordinate(mesh.nodes[n].y) << "\n";
  }
  std::size_t b = 0;
  for (const auto& ring : mesh.rings) {
    for (const int n : ring) {
      out << ++b << " " << n + 1 << " " << Coordinate(mesh.nodes[n].x) << " " << Coordinate(mesh.nodes[n].y)
          << "\n";
    }
  }
  out << "georef " << georef << "\n";
  if (!out) throw std::runtime_error("failed writing " + path.string());
}

}  // namespace lakedrift::datagen
