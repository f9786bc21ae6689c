#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lakedrift::test {

// A small UGRID file as the tests need it, written with the NetCDF-C API.
struct UgridContent {
  enum class Nodes { Projected, LonLat, NoCrs };
  std::vector<double> x, y;  // m, or degrees for LonLat
  std::vector<int> faces;    // as the file numbers them, `width` per face
  int width = 3;
  int startIndex = 1;
  std::optional<int> fill;
  bool transposed = false;  // connectivity stored (nodes per face, faces)
  Nodes nodes = Nodes::Projected;
  std::string crs = "+proj=utm +zone=35 +south +datum=WGS84 +units=m +no_defs";
  std::string crsAttribute = "spatial_ref";  // or crs_wkt, EPSG_code
  bool topology = true;
  std::vector<double> times = {0, 200};
  std::string timeUnits = "hours since 2020-01-01 00:00:00";
  std::string calendar = "gregorian";
  bool onFaces = false;
  int layers = 0;
  std::vector<double> sigmaInterfaces;  // layers + 1 values, written when given
  std::string uStandardName = "sea_water_x_velocity", vStandardName = "sea_water_y_velocity";
  // The velocity of a time index, node or face, layer (0 without layers);
  // `v` asks for the second component.
  std::function<float(int time, int at, int layer, bool v)> velocity = [](int, int, int, bool) {
    return 0.0f;
  };
};

// Writes the file; throws when the NetCDF library refuses.
void WriteUgrid(const std::filesystem::path& path, const UgridContent& content);

// A regular grid of columns × rows nodes `step` m apart from (x0, y0),
// numbered row by row, with its cells as quadrilaterals (counter-clockwise,
// counted from 0).
UgridContent GridSpec(int columns, int rows, double step, double x0, double y0);

// The same grid with each cell cut into two triangles.
UgridContent TriangulatedGridContent(int columns, int rows, double step, double x0, double y0);

}  // namespace lakedrift::test
