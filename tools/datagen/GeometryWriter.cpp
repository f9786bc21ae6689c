#include "GeometryWriter.h"

#include <fstream>
#include <stdexcept>

#include "model/GeometryWriter.h"

namespace lakedrift::datagen {

void GeometryWriter::Write(const LakeMesh& mesh, const std::string& georef,
                           const std::filesystem::path& path) {
  GeometryTables tables;
  tables.elements = mesh.elements, tables.neighbours = mesh.neighbours, tables.rings = mesh.rings;
  tables.georef = georef;
  for (const Vec2& node : mesh.nodes) tables.x.push_back(node.x), tables.y.push_back(node.y);
  std::string text;
  if (Status s = FormatGeometry(tables, text); !s.ok())
    throw std::runtime_error(path.string() + ": " + s.message());
  std::ofstream out(path, std::ios::binary);
  if (!out) throw std::runtime_error("cannot write " + path.string());
  out << text;
  if (!out) throw std::runtime_error("failed writing " + path.string());
}

}  // namespace lakedrift::datagen
