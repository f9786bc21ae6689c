#include "model/GeometryWriter.h"

#include <cstdio>
#include <sstream>
#include <utility>

#include "model/ModelState.h"

namespace lakedrift {
namespace {

// The header's third count is not read back; it holds the vertices per
// element, as is customary.
constexpr int kVerticesPerElement = 3;

// Kilometres to 0.1 m: far finer than a mesh, and short. A coordinate that
// rounds to zero is written as 0, never as -0.
std::string Coordinate(double km) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", km);
  return std::string(text) == "-0.0000" ? "0.0000" : text;
}

}  // namespace

Status FormatGeometry(const GeometryTables& t, std::string& text) {
  std::size_t boundaryCount = 0;
  for (const auto& ring : t.rings) boundaryCount += ring.size();
  for (const auto& [count, what] : {std::pair{t.x.size(), "nodes"}, std::pair{t.elements.size(), "triangles"},
                                    std::pair{boundaryCount, "coast points"}})
    if (count > static_cast<std::size_t>(kMaxItemNumber))
      return Status::Fail(ErrorKind::BadValue, "the mesh has " + std::to_string(count) + " " + what +
                                                   "; a geometry file holds at most " +
                                                   std::to_string(kMaxItemNumber));
  std::ostringstream out;
  out << t.rings.size() << '\n';
  for (std::size_t r = 0; r < t.rings.size(); ++r) out << (r ? " " : "") << t.rings[r].size();
  out << '\n'
      << t.x.size() << ' ' << t.elements.size() << ' ' << kVerticesPerElement << ' ' << boundaryCount << '\n';
  for (std::size_t e = 0; e < t.elements.size(); ++e) {
    out << e + 1;
    for (const int n : t.elements[e]) out << ' ' << n + 1;
    for (const int g : t.neighbours[e]) out << ' ' << g + 1;  // −1, no neighbour, becomes 0
    out << '\n';
  }
  for (std::size_t n = 0; n < t.x.size(); ++n)
    out << n + 1 << ' ' << Coordinate(t.x[n]) << ' ' << Coordinate(t.y[n]) << '\n';
  std::size_t b = 0;
  for (const auto& ring : t.rings)
    for (const int n : ring)
      out << ++b << ' ' << n + 1 << ' ' << Coordinate(t.x[n]) << ' ' << Coordinate(t.y[n]) << '\n';
  if (!t.georef.empty()) out << "georef " << t.georef << '\n';
  text = out.str();
  return Status::Ok();
}

}  // namespace lakedrift
