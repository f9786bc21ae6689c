// Importing UGRID files: the shipped Malagarasi region written as UGRID and
// read back; the variants of the conventions over one small grid; files
// that must be refused. Longitude and latitude out of a run and into probe,
// through the georef line of the geometry file.
#include <gtest/gtest.h>
#include <proj.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

#include "batch/BatchRunner.h"
#include "model/FlowField.h"
#include "model/GeometryReader.h"
#include "ugrid/LakeGeoref.h"

namespace lakedrift {
namespace {

constexpr double kStep = 1000.0, kX0 = 300000.0, kY0 = 9400000.0;  // m
constexpr int kFrames = 84;
constexpr double kDegree = 3.14159265358979323846 / 180.0;
const char* const kLonLat = "+proj=longlat +datum=WGS84 +no_defs";

// A small UGRID file as the tests need it.
struct UgridContent {
  enum class Nodes { Projected, LonLat, NoCrs };
  std::vector<double> x, y;  // m, or degrees for LonLat
  std::vector<int> faces;    // as the file numbers them, `width` per face
  int width = 3, startIndex = 0, layers = 0;
  std::optional<int> fill;
  bool transposed = false, onFaces = false;  // transposed: connectivity stored (nodes per face, faces)
  Nodes nodes = Nodes::Projected;
  std::string crs = "+proj=utm +zone=35 +south +datum=WGS84 +units=m +no_defs";
  std::string crsAttribute = "spatial_ref";  // or crs_wkt, EPSG_code
  bool topology = true, written = true;      // no file at all when not written
  std::vector<double> times = {0, 200};
  std::string timeUnits = "hours since 2020-01-01 00:00:00", calendar = "gregorian";
  std::vector<double> sigmaInterfaces;  // layers + 1 values, written when given
  std::string uName = "sea_water_x_velocity", vName = "sea_water_y_velocity";
  // The velocity of a time index, node or face, layer (0 without layers), v.
  std::function<float(int, int, int, bool)> velocity = [](int, int at, int, bool v) {
    return v ? -float(at) : float(at);
  };
};

// A CDL string: quotes and line ends escaped.
std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? "\\\"" : c == '\n' ? "\\n" : std::string(1, c);
  return quoted + '"';
}

// Values as a CDL list, exact for doubles and floats.
template <class T>
std::string List(const std::vector<T>& values) {
  std::ostringstream out;
  out.precision(17);
  for (std::size_t i = 0; i < values.size(); ++i) out << (i ? "," : "") << values[i];
  return out.str();
}

// Writes the content as CDL and has ncgen make the NetCDF-4 file of it.
void WriteUgrid(const std::filesystem::path& path, const UgridContent& s) {
  const std::size_t faceCount = s.faces.size() / s.width, places = s.onFaces ? faceCount : s.x.size();
  std::vector<int> faces = s.faces;
  for (std::size_t f = 0; s.transposed && f < faceCount; ++f)
    for (int k = 0; k < s.width; ++k) faces[k * faceCount + f] = s.faces[f * s.width + k];
  std::vector<float> u, v;
  for (int t = 0; t < static_cast<int>(s.times.size()); ++t)
    for (int at = 0; at < static_cast<int>(places); ++at)
      for (int k = 0; k < std::max(s.layers, 1); ++k)
        u.push_back(s.velocity(t, at, k, false)), v.push_back(s.velocity(t, at, k, true));
  std::ostringstream cdl;
  cdl << "netcdf model { dimensions: nNodes = " << s.x.size() << "; nFaces = " << faceCount
      << "; nMaxFaceNodes = " << s.width << "; time = UNLIMITED;\n";
  if (s.layers) cdl << "nLayers = " << s.layers << ";\n";
  if (!s.sigmaInterfaces.empty()) cdl << "nInterfaces = " << s.sigmaInterfaces.size() << ";\n";
  cdl << "variables: int mesh2d; " << (s.topology ? "mesh2d:cf_role = \"mesh_topology\";" : "")
      << "mesh2d:topology_dimension = 2; mesh2d:face_dimension = \"nFaces\";\n"
      << "mesh2d:node_coordinates = \"mesh2d_node_x mesh2d_node_y\";"
      << "mesh2d:face_node_connectivity = \"mesh2d_face_nodes\";\n";
  const bool lonLat = s.nodes == UgridContent::Nodes::LonLat, crs = s.nodes == UgridContent::Nodes::Projected;
  for (const auto& [axis, geographic] : {std::pair{"x", "longitude"}, std::pair{"y", "latitude"}})
    cdl << "double mesh2d_node_" << axis << "(nNodes); mesh2d_node_" << axis << ":standard_name = \""
        << (lonLat ? geographic : std::string("projection_") + axis + "_coordinate") << "\";"
        << (crs ? std::string("mesh2d_node_") + axis + ":grid_mapping = \"projected_coordinate_system\";\n"
                : "\n");
  if (crs)
    cdl << "int projected_coordinate_system; projected_coordinate_system:" << s.crsAttribute << " = "
        << Quoted(s.crs) << ";\n";
  cdl << "int mesh2d_face_nodes" << (s.transposed ? "(nMaxFaceNodes, nFaces)" : "(nFaces, nMaxFaceNodes)")
      << "; mesh2d_face_nodes:start_index = " << s.startIndex << ";\n";
  if (s.fill) cdl << "mesh2d_face_nodes:_FillValue = " << *s.fill << ";\n";
  cdl << "double time(time); time:units = " << Quoted(s.timeUnits)
      << "; time:calendar = " << Quoted(s.calendar) << ";\n";
  if (!s.sigmaInterfaces.empty())
    cdl << "double interface_sigma(nInterfaces); interface_sigma:standard_name = "
           "\"ocean_sigma_coordinate\";\n";
  for (const auto& [var, name] : {std::pair{"ucx", s.uName}, std::pair{"ucy", s.vName}})
    cdl << "float " << var << "(time, " << (s.onFaces ? "nFaces" : "nNodes") << (s.layers ? ", nLayers" : "")
        << "); " << var << ":standard_name = " << Quoted(name) << "; " << var << ":mesh = \"mesh2d\"; " << var
        << ":location = \"" << (s.onFaces ? "face" : "node") << "\";\n";
  cdl << "data: mesh2d_node_x = " << List(s.x) << ";\nmesh2d_node_y = " << List(s.y)
      << ";\nmesh2d_face_nodes = " << List(faces) << ";\ntime = " << List(s.times) << ";\nucx = " << List(u)
      << ";\nucy = " << List(v) << ";\n";
  if (!s.sigmaInterfaces.empty()) cdl << "interface_sigma = " << List(s.sigmaInterfaces) << ";\n";
  test::WriteTextFile(path.string() + ".cdl", cdl.str() + "}\n");
  const std::string command = "ncgen -k nc4 -o '" + path.string() + "' '" + path.string() + ".cdl'";
  if (std::system(command.c_str()) != 0) throw std::runtime_error(command + " failed");
}

// A grid of columns × rows nodes `step` apart from (x0, y0), row by row,
// its cells as quadrilaterals (counter-clockwise) or each cut in two.
UgridContent Grid(int columns, int rows, double step, double x0, double y0, bool quads = false) {
  UgridContent s;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) s.x.push_back(x0 + c * step), s.y.push_back(y0 + r * step);
  s.width = quads ? 4 : 3;
  for (int r = 0; r + 1 < rows; ++r)
    for (int c = 0; c + 1 < columns; ++c) {
      const int a = r * columns + c, b = a + 1, d = a + columns, e = d + 1;
      const std::vector<int> cell = quads ? std::vector{a, b, e, d} : std::vector{a, b, e, a, e, d};
      s.faces.insert(s.faces.end(), cell.begin(), cell.end());
    }
  return s;
}

// An import of UGRID content: the batch tool's result, the geometry and the frames.
struct Imported {
  test::BatchResult result;
  std::filesystem::path folder;
  ModelState state;
  std::vector<std::vector<float>> u, v;  // frame, node (from 0)
};

// Every frame of a flow file for the geometry of `s`: U and V, nodes from 0.
void ReadFrames(ModelState s, const std::filesystem::path& path, std::vector<std::vector<float>>& u,
                std::vector<std::vector<float>>& v) {
  FlowFieldReader reader;
  EXPECT_TRUE(reader.Open(path, s.NodeCount).ok()) << path;
  PrepareFlowArrays(s);
  while (reader.ReadFlowFrame(s).ok()) u.push_back(s.NodeU.Vector()), v.push_back(s.NodeV.Vector());
}

Imported Import(const std::string& name, const UgridContent& content, std::vector<std::string> args = {},
                const std::string& geometry = "geomtan.inp", const std::string& flow = "tanws.fld") {
  Imported im;
  im.folder = test::FreshOutputDir("ugrid_" + name);
  const auto out = im.folder / "out";
  std::filesystem::create_directories(out);
  if (content.written) WriteUgrid(im.folder / "model.nc", content);
  args.insert(args.begin(), {"import", (im.folder / "model.nc").string(), "--out", out.string()});
  im.result = test::Batch(args);
  if (im.result.status != kExitOk) return im;
  EXPECT_TRUE(ReadGeometry(im.state, out / geometry).ok());
  ReadFrames(im.state, out / flow, im.u, im.v);
  return im;
}

// The lon/lat PROJ gives the file's projected points in its CRS, in any form.
std::vector<PJ_LP> ProjLonLat(const std::string& crs, const std::vector<double>& x,
                              const std::vector<double>& y) {
  PJ_CONTEXT* context = proj_context_create();
  PJ* transform = proj_create_crs_to_crs(context, crs.c_str(), kLonLat, nullptr);
  std::vector<PJ_LP> lonLat;  // degrees, longitude first
  for (std::size_t n = 0; n < x.size(); ++n)
    lonLat.push_back(proj_trans(transform, PJ_FWD, proj_coord(x[n], y[n], 0, 0)).lp);
  proj_destroy(transform), proj_context_destroy(context);
  return lonLat;
}

// 250 km east of the central meridian of UTM zone 33 at 60° N the
// meridians lean by about 3.9°: a current due east runs that much left of
// the grid's x axis (tan γ = tan Δλ · sin φ).
const std::string kZone33 = "+proj=utm +zone=33 +datum=WGS84 +units=m +no_defs";
constexpr double kZone33X = 750000.0, kZone33Y = 6650000.0, kZone33Meridian = 15.0;
double ConvergenceDegrees() {
  const PJ_LP node = ProjLonLat(kZone33, {kZone33X + kStep}, {kZone33Y + kStep}).front();
  return std::atan(std::tan((node.lam - kZone33Meridian) * kDegree) * std::sin(node.phi * kDegree)) / kDegree;
}

// ---------------------------------------------------------------------------
// Ways a file can put a mesh and its currents: each is imported with the
// file's nodes in their order, elements counter-clockwise covering the
// faces, one coast ring, every node where the file's CRS puts it, and a
// velocity the row names.

// The elements and coast points expected, a frame and node (from 0) with
// the velocity expected there, the options, the changes to a 3 × 3 grid of
// triangles, what the import says, edges some element must hold (nodes from 1).
// clang-format off
struct Variant {
  const char* name;
  struct { int elements, coastPoints, frame, node; double u, v; } expected;
  std::vector<std::string> args;
  std::function<void(UgridContent&)> write;
  const char* says = "";
  std::vector<std::pair<int, int>> edges = {};
};
// clang-format on

void PrintTo(const Variant& row, std::ostream* out) { *out << row.name; }

class UgridVariant : public ::testing::TestWithParam<Variant> {};

TEST_P(UgridVariant, ImportsTheMeshItsPlaceAndItsCurrents) {
  const Variant& row = GetParam();
  UgridContent content = Grid(3, 3, kStep, kX0, kY0);
  row.write(content);
  const Imported im = Import(std::string("variant_") + row.name, content, row.args);
  ASSERT_EQ(im.result.status, kExitOk) << im.result.err;
  const ModelState& s = im.state;
  EXPECT_NE(im.result.out.find(row.says), std::string::npos) << im.result.out;
  ASSERT_EQ(
      std::tuple(s.NodeCount, s.ElementCount, s.BoundaryRingCount, s.BoundaryCount),
      std::tuple(static_cast<int>(content.x.size()), row.expected.elements, 1, row.expected.coastPoints));
  // The elements, taken with the file's coordinates, run counter-clockwise
  // and cover the file's faces (the shoelace area of each, fill values left out).
  double elementArea = 0.0, faceArea = 0.0;
  std::set<std::pair<int, int>> edges;
  for (int e = 1; e <= s.ElementCount; ++e) {
    const int a = s.ElemNode(1, e) - 1, b = s.ElemNode(2, e) - 1, c = s.ElemNode(3, e) - 1;
    const double twice = (content.x[b] - content.x[a]) * (content.y[c] - content.y[a]) -
                         (content.x[c] - content.x[a]) * (content.y[b] - content.y[a]);
    EXPECT_GT(twice, 0.0) << "element " << e;
    elementArea += 0.5 * twice;
    for (int j = 1; j <= 3; ++j) edges.insert(std::minmax(s.ElemNode(j, e), s.ElemNode(j % 3 + 1, e)));
  }
  for (std::size_t f = 0; f < content.faces.size(); f += content.width) {
    std::vector<int> face;
    for (int k = 0; k < content.width; ++k)
      if (content.faces[f + k] != content.fill) face.push_back(content.faces[f + k] - content.startIndex);
    for (std::size_t k = 0; k < face.size(); ++k) {
      const int p = face[k], q = face[(k + 1) % face.size()];
      faceArea += 0.5 * (content.x[p] * content.y[q] - content.x[q] * content.y[p]);
    }
  }
  EXPECT_NEAR(elementArea, faceArea, 1e-9 * faceArea);
  for (const auto& [p, q] : row.edges) EXPECT_TRUE(edges.count(std::minmax(p, q))) << p << "–" << q;
  // Every node lies where the file's CRS puts it, through the georef line;
  // without a CRS, the nodes keep their distances and there is no georef.
  if (content.nodes == UgridContent::Nodes::NoCrs) {
    EXPECT_TRUE(s.Georef.empty()) << s.Georef;
    for (int n = 1; n <= s.NodeCount; ++n)
      EXPECT_NEAR(std::hypot((s.NodeX(n) - s.NodeX(1)) * kMetresPerKm - (content.x[n - 1] - content.x[0]),
                             (s.NodeY(n) - s.NodeY(1)) * kMetresPerKm - (content.y[n - 1] - content.y[0])),
                  0.0, 0.1)
          << n;
  } else {
    LakeGeoref georef;
    ASSERT_TRUE(georef.Open(s.Georef, "test").ok()) << s.Georef;
    const bool lonLat = content.nodes == UgridContent::Nodes::LonLat;
    const auto expected = ProjLonLat(lonLat ? kLonLat : content.crs, content.x, content.y);
    for (int n = 1; n <= s.NodeCount; ++n) {
      double lon = 0, lat = 0;
      georef.ToLonLat(s.NodeX(n), s.NodeY(n), lon, lat);
      EXPECT_NEAR(std::hypot(lon - expected[n - 1].lam, lat - expected[n - 1].phi), 0.0, 2e-6)
          << "node " << n;  // 0.1 m
    }
  }
  ASSERT_EQ(im.u.size(), static_cast<std::size_t>(kFrames));
  const int k = row.expected.frame, n = row.expected.node;
  EXPECT_NEAR(std::hypot(im.u[k][n] - row.expected.u, im.v[k][n] - row.expected.v), 0.0, 1e-6)
      << im.u[k][n] << ", " << im.v[k][n];
}

// clang-format off
const Variant kVariants[] = {
    {"FacesFirstStartIndexOne", {8, 8, 83, 6, 6.0, -6.0}, {}, [](UgridContent& s) { for (int& n : s.faces) ++n; s.startIndex = 1; }},
    {"NodesFirstWithoutCrs", {8, 8, 0, 7, 7.0, -7.0}, {}, [](UgridContent& s) { s.transposed = true, s.nodes = UgridContent::Nodes::NoCrs; }, "no georef"},
    {"TrianglesPaddedWithFillValues", {8, 8, 0, 8, 8.0, -8.0}, {}, [](UgridContent& s) { for (std::size_t f = 3; f <= s.faces.size(); f += 4) s.faces.insert(s.faces.begin() + f, -999); s.width = 4, s.fill = -999; }},
    // A kite, shorter across from node 1 to 3 (from 0), and a padded triangle.
    {"QuadsSplitAlongTheShorterDiagonal", {3, 5, 0, 4, 4.0, -4.0}, {}, [](UgridContent& s) { s.x = {kX0, kX0 + 3 * kStep, kX0 + 4 * kStep, kX0 + kStep, kX0 + 5 * kStep}; s.y = {kY0, kY0, kY0 + 2 * kStep, kY0 + 2 * kStep, kY0 + kStep}; s.faces = {0, 1, 2, 3, 1, 4, 2, -999}, s.width = 4, s.fill = -999; }, "", {{2, 4}}},
    // A dart whose shorter diagonal runs outside it.
    {"ConcaveQuadCutInside", {2, 4, 0, 3, 3.0, -3.0}, {}, [](UgridContent& s) { s.x = {kX0, kX0 + 2 * kStep, kX0 + 4 * kStep, kX0 + 2 * kStep}, s.y = {kY0, kY0 + kStep, kY0, kY0 + 6 * kStep}; s.faces = {0, 1, 2, 3}, s.width = 4; }},
    {"CrsAsWkt", {8, 8, 0, 1, 1.0, -1.0}, {}, [](UgridContent& s) { PJ_CONTEXT* context = proj_context_create(); PJ* crs = proj_create(context, "EPSG:32735"); s.crsAttribute = "crs_wkt", s.crs = proj_as_wkt(context, crs, PJ_WKT2_2019, nullptr); proj_destroy(crs), proj_context_destroy(context); }},
    {"CrsAsEpsgCode", {8, 8, 0, 1, 1.0, -1.0}, {}, [](UgridContent& s) { s.crsAttribute = "EPSG_code", s.crs = "EPSG:32735"; }},
    {"LongitudeLatitudeNodes", {12, 10, 0, 11, 11.0, -11.0}, {}, [](UgridContent& s) { s = Grid(4, 3, 0.01, 29.7, -5.3); s.nodes = UgridContent::Nodes::LonLat; }},
    // Columns 1 km then 2 km wide; only face 0 moves. The middle node holds
    // all of faces 0 and 3 and half of 1 and 2: areas 1, 2 × ½, 1 × ½ and 2 km².
    {"FaceVelocitiesAveragedToNodesByArea", {8, 8, 0, 4, 1.0 / 4.5, 0.0}, {}, [](UgridContent& s) { s = Grid(3, 3, kStep, kX0, kY0, true); for (int n = 2; n < 9; n += 3) s.x[n] += kStep; s.onFaces = true, s.velocity = [](int, int f, int, bool v) { return f == 0 && !v ? 1.0f : 0.0f; }; }},
    {"EastwardVelocityTurnedByTheMeridianConvergence", {8, 8, 0, 4, std::cos(ConvergenceDegrees() * kDegree), std::sin(ConvergenceDegrees() * kDegree)}, {}, [](UgridContent& s) { s = Grid(3, 3, kStep, kZone33X, kZone33Y); s.crs = kZone33, s.uName = "eastward_sea_water_velocity", s.vName = "northward_sea_water_velocity"; s.velocity = [](int, int, int, bool v) { return v ? 0.0f : 1.0f; }; }},
    // Hourly frames: the hour plus ten times the layer (from 0).
    {"LayerChosenAndTimeInterpolated", {8, 8, 83, 3, 10.5 + 2.0 * 83, 0.0}, {"--layer", "2", "--start", "2020-01-01T00:30"}, [](UgridContent& s) { s.layers = 3, s.times.clear(); for (int h = 0; h <= 200; ++h) s.times.push_back(h); s.velocity = [](int t, int, int layer, bool v) { return v ? 0.0f : float(t + 10 * layer); }; }, "84 frames from 2020-01-01T00:30:00"},
    // Layers of ½, ¼ and ¼ of the depth moving at 0, 10 and 20.
    {"DepthAverageWeighsLayersBySigmaThickness", {8, 8, 5, 2, 7.5, 1.0}, {"--depth-average"}, [](UgridContent& s) { s.layers = 3, s.sigmaInterfaces = {-1.0, -0.5, -0.25, 0.0}; s.velocity = [](int, int, int layer, bool v) { return v ? 1.0f : float(10 * layer); }; }}, };
// clang-format on

INSTANTIATE_TEST_SUITE_P(Files, UgridVariant, ::testing::ValuesIn(kVariants), test::RowName<Variant>);

// ---------------------------------------------------------------------------
// The shipped region written as a UGRID file in UTM-sized metres comes back
// with its mesh, rings, flow file to the byte and tracks.

// The node numbers of each ring, turned to start at its smallest node.
std::vector<std::vector<int>> Rings(const ModelState& s) {
  std::vector<std::vector<int>> rings;
  for (int r = 1, b = 1; r <= s.BoundaryRingCount; ++r) {
    std::vector<int> ring;
    for (int i = 0; i < s.BoundaryRingSize(r); ++i) ring.push_back(s.BoundaryNode(b++));
    std::rotate(ring.begin(), std::min_element(ring.begin(), ring.end()), ring.end());
    rings.push_back(ring);
  }
  return rings;
}

TEST(UgridRoundTrip, ShippedRegionComesBackWithItsMeshRingsFlowAndTracks) {
  constexpr double kEastingOffsetM = 450000.0, kNorthingOffsetM = 9394760.0;
  ModelState shipped;
  ASSERT_TRUE(ReadGeometry(shipped, test::SampleDataPath("geommal.inp")).ok());
  const int nodes = shipped.NodeCount;
  UgridContent content;
  for (int n = 1; n <= nodes; ++n)
    content.x.push_back(shipped.NodeX(n) * kMetresPerKm + kEastingOffsetM),
        content.y.push_back(shipped.NodeY(n) * kMetresPerKm + kNorthingOffsetM);
  for (int e = 1; e <= shipped.ElementCount; ++e)
    for (int j = 1; j <= 3; ++j) content.faces.push_back(shipped.ElemNode(j, e) - 1);
  content.crs =
      "+proj=tmerc +lat_0=0 +lon_0=30 +k=1 +x_0=500000 +y_0=10000000 +ellps=WGS84 +units=m +no_defs";
  content.times.clear();
  for (int k = 0; k < kFrames; ++k) content.times.push_back(2.0 * k);
  content.timeUnits = "hours since 1997-04-02 02:00:00";
  std::vector<std::vector<float>> u, v;
  ReadFrames(shipped, test::SampleDataPath("malws.fld"), u, v);
  content.velocity = [&](int t, int n, int, bool second) { return (second ? v : u)[t][n]; };
  const Imported im = Import("roundtrip", content, {"--region", "2"}, "geommal.inp", "malws.fld");
  ASSERT_EQ(im.result.status, kExitOk) << im.result.err;
  const auto out = im.folder / "out";
  const ModelState& back = im.state;
  ASSERT_EQ(std::pair(back.NodeCount, back.ElementCount), std::pair(nodes, shipped.ElementCount));
  for (int n = 1; n <= nodes; ++n)
    EXPECT_NEAR(std::hypot(back.NodeX(n) - shipped.NodeX(n), back.NodeY(n) - shipped.NodeY(n)), 0.0, 1.5e-4)
        << n;
  EXPECT_TRUE(back.ElemNode == shipped.ElemNode) << "the elements' nodes differ";
  EXPECT_TRUE(back.ElemNeighbour == shipped.ElemNeighbour) << "the elements' neighbours differ";
  EXPECT_EQ(Rings(back), Rings(shipped));
  EXPECT_EQ(test::ReadFile(out / "malws.fld"), test::ReadFile(test::SampleDataPath("malws.fld")));
  // The same tracks from the shipped files, the imported ones and straight
  // from the UGRID file, for a seed released in the middle of element 1.
  double x = 0, y = 0;
  for (int j = 1; j <= 3; ++j)
    x += shipped.NodeX(shipped.ElemNode(j, 1)) / 3, y += shipped.NodeY(shipped.ElemNode(j, 1)) / 3;
  // The inputs' @files are in `folder`.
  auto tracks = [&](const std::string& name, const std::filesystem::path& folder, const std::string& inputs) {
    const test::BatchResult r = test::Batch(test::Words(
        "run --release " + std::to_string(x) + " " + std::to_string(y) +
            " --particles 20 --seed 7 --diffusion 1 --tracks " + (im.folder / name).string() + inputs,
        folder));
    EXPECT_EQ(r.status, kExitOk) << r.err;
    return test::ReadFile(im.folder / name);
  };
  const std::string files = " --geometry @geommal.inp --flow-file @malws.fld --season 1";
  const std::string original = tracks("original.csv", test::SampleDataPath(""), files);
  EXPECT_EQ(tracks("imported.csv", out, files), original);
  EXPECT_EQ(tracks("direct.csv", im.folder, " --ugrid @model.nc"), original);
  const auto written = std::distance(std::filesystem::directory_iterator(im.folder), {});
  EXPECT_EQ(written, 6);  // model.cdl, .nc, out, 3 CSVs
}

// ---------------------------------------------------------------------------
// Files and options that are refused: one line, exit status 2, nothing written.

// clang-format off
struct Refusal { const char* name; std::function<void(UgridContent&)> spoil; std::vector<std::string> args; const char* message; };
// clang-format on

void PrintTo(const Refusal& r, std::ostream* out) { *out << r.name; }

class UgridRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(UgridRefusal, SaysWhatIsWrongAndWritesNothing) {
  UgridContent content = Grid(3, 3, kStep, kX0, kY0);
  for (int& n : content.faces) n += 1;
  content.startIndex = 1;
  GetParam().spoil(content);
  const Imported im = Import(std::string("refused_") + GetParam().name, content, GetParam().args);
  EXPECT_EQ(im.result.status, kExitBadInput);
  EXPECT_TRUE(std::regex_match(im.result.err, std::regex("lakedrift-batch: .*\n")))
      << im.result.err;  // one line
  EXPECT_NE(im.result.err.find(GetParam().message), std::string::npos) << im.result.err;
  EXPECT_TRUE(std::filesystem::is_empty(im.folder / "out"));
}

// clang-format off
const Refusal kRefusals[] = {
    {"MissingFile", [](UgridContent& s) { s.written = false; }, {}, "model.nc: not found"},
    {"NoTopology", [](UgridContent& s) { s.topology = false; }, {}, "no variable with cf_role = \"mesh_topology\""},
    {"NodeOutOfRange", [](UgridContent& s) { s.faces[4] = 10; }, {}, "face 1 (counting from 0): node 10 is outside 1..9"},
    {"NonManifoldEdge", [](UgridContent& s) { s.x.push_back(kX0 + 2 * kStep), s.y.push_back(kY0 - kStep), s.faces.insert(s.faces.end(), {1, 10, 5}); }, {}, "the edge is shared by more than two faces"},
    {"NanCoordinate", [](UgridContent& s) { s.y[4] = std::numeric_limits<double>::quiet_NaN(); }, {}, "node 5: its coordinates are not numbers"},
    {"DuplicateFace", [](UgridContent& s) { s.faces.insert(s.faces.end(), {5, 2, 1}); }, {}, "face 8 (counting from 0) repeats face 0"},
    {"DegenerateFace", [](UgridContent& s) { s.faces.insert(s.faces.end(), {1, 2, 3}); }, {}, "face 8 (counting from 0) is degenerate"},
    {"Pentagon", [](UgridContent& s) { s.width = 5, s.faces = {1, 2, 3, 6, 5}; }, {}, "face 0 (counting from 0) has 5 nodes; only triangles and quadrilaterals are read"},
    {"TimeSpanTooShort", [](UgridContent& s) { s.times = {0, 100}; }, {}, "the file covers 2020-01-01T00:00:00 to 2020-01-05T04:00:00, but the week from 2020-01-01T00:00:00 needs"},
    {"StartAfterTheFile", [](UgridContent&) {}, {"--start", "2020-01-03"}, "needs 2020-01-03T00:00:00 to 2020-01-09T22:00:00"},
    {"Calendar360Day", [](UgridContent& s) { s.calendar = "360_day"; }, {}, "calendar '360_day' is not read"},
    {"NoVelocities", [](UgridContent& s) { s.uName = "x"; }, {}, "no velocities with standard_name"},
    {"TwoCandidateVelocities", [](UgridContent& s) { s.uName = s.vName = "eastward_sea_water_velocity"; }, {}, "several variables have standard_name eastward_sea_water_velocity (ucx, ucy)"},
    {"LayeredWithoutLayer", [](UgridContent& s) { s.layers = 2; }, {}, "has 2 layers (nLayers): choose one with --layer K"},
    {"DepthAverageWithoutThicknesses", [](UgridContent& s) { s.layers = 2; }, {"--depth-average"}, "--depth-average: no layer thicknesses for nLayers"},
    {"LayerOfAFlatVariable", [](UgridContent&) {}, {"--layer", "1"}, "--layer: ucx has no layers"},
    {"UnknownVariable", [](UgridContent&) {}, {"--u", "ucx", "--v", "vvv"}, "--v vvv: no such variable"},
    {"BadStart", [](UgridContent&) {}, {"--start", "soon"}, "--start: expected a date"},
    {"StartOnADayTheMonthHasNot", [](UgridContent&) {}, {"--start", "2020-02-31"}, "--start: expected a date"},
    {"BadLayer", [](UgridContent&) {}, {"--layer", "0"}, "--layer: expected a layer number from 1, got '0'"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Files, UgridRefusal, ::testing::ValuesIn(kRefusals), test::RowName<Refusal>);

// ---------------------------------------------------------------------------
// The Malagarasi mouth, 5.2564 S 29.8017 E, in the Malagarasi region's
// grid, as the proj program puts it through the region's georef line.
constexpr double kMouthLon = 29.8017, kMouthLat = -5.2564;
constexpr double kMouthXKm = 28.017515, kMouthYKm = 23.997544;
constexpr double kTenMetresKm = 0.010;
// A water point of the region, west of the mouth (released at in the run below).
constexpr double kWaterLon = 29.75, kWaterLat = -5.25;

TEST(GeographicOutput, ProbeAndRunPutLongitudeAndLatitudeWhereProjDoes) {
  // The mouth probed lands where the proj program puts it.
  const test::BatchResult probe =
      test::Batch({"probe", test::SampleDataPath("geommal.inp").string(), "--lonlat"}, "29.8017 -5.2564\n");
  std::istringstream fields(probe.out);
  double lon, lat, x, y;
  ASSERT_TRUE(fields >> lon >> lat >> x >> y) << probe.out << probe.err;
  EXPECT_EQ(std::pair(lon, lat), std::pair(kMouthLon, kMouthLat));
  EXPECT_NEAR(std::hypot(x - kMouthXKm, y - kMouthYKm), 0.0, kTenMetresKm) << x << ' ' << y;
  // A run writes the release point's longitude and latitude in every track format.
  const auto dir = test::FreshOutputDir("geographic_run");
  const test::BatchResult r =
      test::Batch(test::Words("run --geometry " + test::SampleDataPath("geommal.inp").string() +
                                  " --flow-file " + test::SampleDataPath("malws.fld").string() +
                                  " --season 1 --release-lonlat 29.75 -5.25 --particles 3 --seed 5 --tracks "
                                  "@t.csv --netcdf @t.nc --geojson @t.geojson",
                              dir));
  ASSERT_EQ(r.status, kExitOk) << r.err;
  // CSV: the first row's last two columns.
  const auto csv = test::ReadCsv(dir / "t.csv");
  EXPECT_EQ(csv.at(0), (std::vector<std::string>{"particle", "level", "time", "x_m", "y_m", "lon", "lat"}));
  EXPECT_NEAR(std::hypot(std::stod(csv.at(1).at(5)) - kWaterLon, std::stod(csv.at(1).at(6)) - kWaterLat), 0.0,
              1e-7);
  // GeoJSON: a line per particle from the release point over the week.
  const QJsonDocument doc =
      QJsonDocument::fromJson(QByteArray::fromStdString(test::ReadFile(dir / "t.geojson")));
  const QJsonArray features = doc["features"].toArray();
  ASSERT_EQ(doc["type"].toString() + " of " + QString::number(features.size()), "FeatureCollection of 3");
  for (int p = 0; p < 3; ++p) {
    const QJsonObject feature = features[p].toObject();
    const QJsonArray line = feature["geometry"]["coordinates"].toArray();
    EXPECT_NEAR(std::hypot(line[0][0].toDouble() - kWaterLon, line[0][1].toDouble() - kWaterLat), 0.0, 1e-6);
    EXPECT_NE(line[83][0].toDouble(), kWaterLon);
    const QJsonValue properties = feature["properties"];  // and the points of the week
    EXPECT_EQ(feature["geometry"]["type"].toString() + " " + QString::number(properties["particle"].toInt()) +
                  " " + properties["release_time"].toString() + " " + properties["end_time"].toString() +
                  " " + QString::number(line.size()),
              QString("LineString %1 1997-04-02T02:00:00 1997-04-09T00:00:00 84").arg(p + 1));
  }
  // NetCDF: CF longitude and latitude, and the georef line as grid mapping.
  int nc = 0;
  ASSERT_EQ(nc_open((dir / "t.nc").c_str(), NC_NOWRITE, &nc), NC_NOERR);
  EXPECT_EQ(test::NcText(nc, "lon", "standard_name") + " " + test::NcText(nc, "lon", "units") + " " +
                test::NcText(nc, "lat", "standard_name") + " " + test::NcText(nc, "lat", "units") + " " +
                test::NcText(nc, "x", "grid_mapping") + " " + test::NcText(nc, "crs", "grid_mapping_name"),
            "longitude degrees_east latitude degrees_north crs transverse_mercator");
  EXPECT_NE(test::NcText(nc, "crs", "crs_wkt").find("Transverse_Mercator"), std::string::npos);
  // The false easting is +x_0 in metres, as x is; the first point is the release point.
  double crs[2] = {0, 0}, first[2] = {0, 0};
  const std::size_t start[2] = {0, 0};
  for (const int i : {0, 1})
    nc_get_att_double(nc, test::NcVar(nc, "crs"), i ? "longitude_of_central_meridian" : "false_easting",
                      &crs[i]),
        nc_get_var1_double(nc, test::NcVar(nc, i ? "lat" : "lon"), start, &first[i]);
  EXPECT_EQ(std::pair(crs[0], crs[1]), std::pair(50000.0, 30.0));
  EXPECT_NEAR(std::hypot(first[0] - kWaterLon, first[1] - kWaterLat), 0.0, 1e-7);
  nc_close(nc);
}

}  // namespace
}  // namespace lakedrift
