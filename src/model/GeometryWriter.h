#pragma once
#include <array>
#include <string>
#include <vector>

#include "model/Status.h"

namespace lakedrift {

// A triangular lake mesh as a geometry file holds it; node and element
// numbers from 0.
struct GeometryTables {
  std::vector<double> x, y;                    // node coordinates, km
  std::vector<std::array<int, 3>> elements;    // vertices, counter-clockwise
  std::vector<std::array<int, 3>> neighbours;  // across edge j → j + 1; −1 on the coast
  std::vector<std::vector<int>> rings;         // coast rings, shore first, as node numbers
  std::string georef;                          // the georef line's definition; none when empty
};

// The text of the geometry file of `tables` (coordinates to 0.1 m, never
// "-0.0000"); fails when nodes, elements or coast points exceed the
// numbers a file can hold.
Status FormatGeometry(const GeometryTables& tables, std::string& text);

}  // namespace lakedrift
