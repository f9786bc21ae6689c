// Importing UGRID files: the shipped Malagarasi region written as UGRID and
// read back; the variants of the conventions; files that must be refused.
#include <gtest/gtest.h>
#include <proj.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

#include "batch/BatchCommands.h"
#include "batch/BatchRunner.h"
#include "model/FlowField.h"
#include "model/GeometryReader.h"
#include "support/TestPaths.h"
#include "ugrid/LakeGeoref.h"
#include "ugrid/UgridWriter.h"

namespace lakedrift {
namespace {

using test::UgridContent;

using Result = test::BatchResult;
using test::Batch;

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// An import of UGRID content: the batch tool's result, the geometry and the frames.
struct Imported {
  Result result;
  std::filesystem::path folder;
  ModelState state;
  std::vector<std::vector<float>> u, v;  // frame, node (0-based)
};

Imported Import(const std::string& name, const UgridContent& content, std::vector<std::string> args = {},
                const std::string& geometry = "geomtan.inp", const std::string& flow = "tanws.fld") {
  Imported im;
  im.folder = test::FreshOutputDir("ugrid_" + name);
  const auto model = im.folder / "model.nc";
  test::WriteUgrid(model, content);
  const auto out = im.folder / "out";
  std::filesystem::create_directories(out);
  args.insert(args.begin(), {"import", model.string(), "--out", out.string()});
  im.result = Batch(args);
  if (im.result.status != kExitOk) return im;
  EXPECT_TRUE(ReadGeometry(im.state, out / geometry).ok());
  FlowFieldReader reader;
  EXPECT_TRUE(reader.Open(out / flow, im.state.NodeCount).ok());
  PrepareFlowArrays(im.state);
  while (reader.ReadFlowFrame(im.state).ok()) {
    im.u.emplace_back(im.state.NodeU.Data(), im.state.NodeU.Data() + im.state.NodeU.Count());
    im.v.emplace_back(im.state.NodeV.Data(), im.state.NodeV.Data() + im.state.NodeV.Count());
  }
  return im;
}

// ---------------------------------------------------------------------------
// The shipped region, written as a UGRID file in UTM-sized metres.

constexpr double kEastingOffsetM = 450000.0, kNorthingOffsetM = 9394760.0;
constexpr const char* kShippedCrs =
    "+proj=tmerc +lat_0=0 +lon_0=30 +k=1 +x_0=500000 +y_0=10000000 +ellps=WGS84 +units=m +no_defs";

UgridContent ShippedRegionAsUgrid(const ModelState& s) {
  UgridContent content;
  for (int n = 1; n <= s.NodeCount; ++n) {
    content.x.push_back(s.NodeX(n) * kMetresPerKm + kEastingOffsetM);
    content.y.push_back(s.NodeY(n) * kMetresPerKm + kNorthingOffsetM);
  }
  for (int e = 1; e <= s.ElementCount; ++e)
    for (int j = 1; j <= 3; ++j) content.faces.push_back(s.ElemNode(j, e));
  content.crs = kShippedCrs;
  content.times.clear();
  for (int k = 0; k < 84; ++k) content.times.push_back(2.0 * k);
  content.timeUnits = "hours since 1997-04-02 02:00:00";
  return content;
}

// The node numbers of each ring, turned to start at its smallest node.
std::vector<std::vector<int>> Rings(const ModelState& s) {
  std::vector<std::vector<int>> rings;
  int b = 1;
  for (int r = 1; r <= s.BoundaryRingCount; ++r) {
    std::vector<int> ring;
    for (int i = 0; i < s.BoundaryRingSize(r); ++i) ring.push_back(s.BoundaryNode(b++));
    std::rotate(ring.begin(), std::min_element(ring.begin(), ring.end()), ring.end());
    rings.push_back(ring);
  }
  return rings;
}

TEST(UgridRoundTrip, ShippedRegionComesBackWithItsMeshRingsFlowAndTracks) {
  ModelState shipped;
  ASSERT_TRUE(ReadGeometry(shipped, test::SampleDataPath("geommal.inp")).ok());
  UgridContent content = ShippedRegionAsUgrid(shipped);
  std::vector<std::vector<float>> frames;  // U then V of each frame
  {
    ModelState flow = shipped;
    FlowFieldReader reader;
    ASSERT_TRUE(reader.Open(test::SampleDataPath("malws.fld"), shipped.NodeCount).ok());
    PrepareFlowArrays(flow);
    for (int k = 0; k < 84; ++k) {
      ASSERT_TRUE(reader.ReadFlowFrame(flow).ok());
      frames.emplace_back(flow.NodeU.Data(), flow.NodeU.Data() + flow.NodeU.Count());
      frames.back().insert(frames.back().end(), flow.NodeV.Data(), flow.NodeV.Data() + flow.NodeV.Count());
    }
  }
  const int nodes = shipped.NodeCount;
  content.velocity = [&](int t, int n, int, bool v) { return frames[t][(v ? nodes : 0) + n]; };
  const Imported im = Import("roundtrip", content, {"--region", "2"}, "geommal.inp", "malws.fld");
  ASSERT_EQ(im.result.status, kExitOk) << im.result.err;
  const auto out = im.folder / "out";
  const ModelState& back = im.state;

  ASSERT_EQ(back.NodeCount, shipped.NodeCount);
  ASSERT_EQ(back.ElementCount, shipped.ElementCount);
  for (int n = 1; n <= nodes; ++n) {
    EXPECT_NEAR(back.NodeX(n), shipped.NodeX(n), 1.1e-4) << "node " << n;
    EXPECT_NEAR(back.NodeY(n), shipped.NodeY(n), 1.1e-4) << "node " << n;
  }
  for (int e = 1; e <= shipped.ElementCount; ++e)
    for (int j = 1; j <= 3; ++j) {
      EXPECT_EQ(back.ElemNode(j, e), shipped.ElemNode(j, e)) << "element " << e;
      EXPECT_EQ(back.ElemNeighbour(j, e), shipped.ElemNeighbour(j, e)) << "element " << e;
    }
  EXPECT_EQ(Rings(back), Rings(shipped));
  EXPECT_EQ(FileBytes(out / "malws.fld"), FileBytes(test::SampleDataPath("malws.fld")));

  // The georef lines name the same place for every point.
  LakeGeoref a, b;
  ASSERT_TRUE(a.Open(shipped.Georef, "test").ok());
  ASSERT_TRUE(b.Open(back.Georef, "test").ok());
  for (int n = 1; n <= nodes; n += 97) {
    double lonA, latA, lonB, latB;
    a.ToLonLat(shipped.NodeX(n), shipped.NodeY(n), lonA, latA);
    b.ToLonLat(back.NodeX(n), back.NodeY(n), lonB, latB);
    EXPECT_NEAR(lonA, lonB, 1e-8);
    EXPECT_NEAR(latA, latB, 1e-8);
  }

  // The same tracks for a seed, released in the middle of element 1.
  std::string releaseX, releaseY;
  {
    double x = 0, y = 0;
    for (int j = 1; j <= 3; ++j)
      x += shipped.NodeX(shipped.ElemNode(j, 1)) / 3, y += shipped.NodeY(shipped.ElemNode(j, 1)) / 3;
    releaseX = std::to_string(x);
    releaseY = std::to_string(y);
  }
  auto tracks = [&](std::vector<std::string> inputs, const std::string& name) {
    const auto csv = im.folder / name;
    std::vector<std::string> args = {"run",         "--release", releaseX,   releaseY,
                                     "--particles", "20",        "--seed",   "7",
                                     "--diffusion", "1",         "--tracks", csv.string()};
    args.insert(args.end(), inputs.begin(), inputs.end());
    const Result r = Batch(args);
    EXPECT_EQ(r.status, kExitOk) << r.err;
    return FileBytes(csv);
  };
  auto files = [](const std::filesystem::path& folder) -> std::vector<std::string> {
    return {"--geometry",  (folder / "geommal.inp").string(),
            "--flow-file", (folder / "malws.fld").string(),
            "--season",    "1"};
  };
  const std::string original = tracks(files(test::SampleDataPath("")), "original.csv");
  EXPECT_GT(original.size(), 1000u);
  EXPECT_EQ(tracks(files(out), "imported.csv"), original);
  // And straight from the UGRID file, with nothing written in between.
  EXPECT_EQ(tracks({"--ugrid", (im.folder / "model.nc").string()}, "direct.csv"), original);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(im.folder), {}),
            5);  // model.nc, out, three CSVs
}

// ---------------------------------------------------------------------------
// Variants of the conventions.

constexpr double kStep = 1000.0, kX0 = 300000.0, kY0 = 9400000.0;

TEST(UgridImport, StartIndexZeroAndOneReadTheSameMesh) {
  for (const int start : {0, 1}) {
    UgridContent content = test::TriangulatedGridContent(3, 3, kStep, kX0, kY0);
    for (int& n : content.faces) n += start;
    content.startIndex = start;
    content.velocity = [](int, int n, int, bool v) { return v ? -float(n) : float(n); };
    const Imported im = Import("start" + std::to_string(start), content);
    ASSERT_EQ(im.result.status, kExitOk) << im.result.err;
    EXPECT_EQ(im.state.NodeCount, 9);
    EXPECT_EQ(im.state.ElementCount, 8);
    ASSERT_EQ(im.state.BoundaryRingCount, 1);
    EXPECT_EQ(im.state.BoundaryCount, 8);
    EXPECT_EQ(im.state.ElemNode(1, 1), 1);
    EXPECT_EQ(im.state.ElemNode(3, 1), 5);
    EXPECT_EQ(im.state.NodeX(9), 2.0);
    EXPECT_EQ(im.state.NodeY(9), 2.0);
    ASSERT_EQ(im.u.size(), 84u);
    EXPECT_EQ(im.u[83][6], 6.0f);
    EXPECT_EQ(im.v[83][6], -6.0f);
  }
}

TEST(UgridImport, TransposedConnectivityWithoutACrsReadsTheSameMeshWithoutGeoref) {
  UgridContent content = test::TriangulatedGridContent(3, 3, kStep, kX0, kY0);
  content.startIndex = 0;
  content.transposed = true;
  content.nodes = UgridContent::Nodes::NoCrs;
  const Imported im = Import("transposed", content);
  ASSERT_EQ(im.result.status, kExitOk) << im.result.err;
  EXPECT_EQ(im.state.ElementCount, 8);
  EXPECT_EQ(im.state.ElemNode(3, 1), 5);
  EXPECT_EQ(im.state.BoundaryCount, 8);
  EXPECT_TRUE(im.state.Georef.empty());
  EXPECT_NE(im.result.out.find("no georef"), std::string::npos) << im.result.out;
}

TEST(UgridImport, FillValuesEndShortFacesAndQuadsSplitAlongTheShorterDiagonal) {
  // A kite: the diagonal from node 1 to node 3 (counting from 0) is the
  // shorter, then a triangle padded with the fill value.
  UgridContent content;
  content.x = {kX0, kX0 + 3 * kStep, kX0 + 4 * kStep, kX0 + kStep, kX0 + 5 * kStep};
  content.y = {kY0, kY0, kY0 + 2 * kStep, kY0 + 2 * kStep, kY0 + kStep};
  content.width = 4;
  content.startIndex = 0;
  content.fill = -999;
  content.faces = {0, 1, 2, 3, 1, 4, 2, -999};
  const Imported im = Import("quads", content);
  ASSERT_EQ(im.result.status, kExitOk) << im.result.err;
  ASSERT_EQ(im.state.ElementCount, 3);
  auto hasEdge = [&](int e, int a, int b) {
    for (int j = 1; j <= 3; ++j) {
      const int p = im.state.ElemNode(j, e), q = im.state.ElemNode(j % 3 + 1, e);
      if ((p == a && q == b) || (p == b && q == a)) return true;
    }
    return false;
  };
  EXPECT_TRUE(hasEdge(1, 2, 4));
  EXPECT_TRUE(hasEdge(2, 2, 4));
  EXPECT_EQ(im.state.ElemNeighbour(1, 1) + im.state.ElemNeighbour(2, 1) + im.state.ElemNeighbour(3, 1), 2);
  EXPECT_EQ(im.state.BoundaryCount, 5);
}

TEST(UgridImport, ConcaveQuadIsCutInside) {
  // A dart whose shorter diagonal, from node 0 to node 2, runs outside it.
  UgridContent content;
  content.x = {kX0, kX0 + 2 * kStep, kX0 + 4 * kStep, kX0 + 2 * kStep};
  content.y = {kY0, kY0 + kStep, kY0, kY0 + 6 * kStep};
  content.width = 4;
  content.startIndex = 0;
  content.faces = {0, 1, 2, 3};
  const Imported im = Import("concave", content);
  ASSERT_EQ(im.result.status, kExitOk) << im.result.err;
  ASSERT_EQ(im.state.ElementCount, 2);
  EXPECT_EQ(im.state.BoundaryCount, 4);
}

TEST(UgridImport, FaceVelocitiesAreAveragedToNodesByArea) {
  // Columns 1 km then 2 km wide, so that the faces around the middle node
  // differ in area; only face 0 moves.
  UgridContent content = test::GridSpec(3, 3, kStep, kX0, kY0);
  for (int n = 2; n < 9; n += 3) content.x[n] += kStep;
  content.onFaces = true;
  content.velocity = [](int, int f, int, bool v) { return f == 0 && !v ? 1.0f : 0.0f; };
  const Imported im = Import("faces", content);
  ASSERT_EQ(im.result.status, kExitOk) << im.result.err;
  // The middle node holds all of faces 0 and 3 (the shorter diagonals pass
  // through it) and half of faces 1 and 2: areas 1, 2 × ½, 1 × ½ and 2 km².
  EXPECT_NEAR(im.u[0][4], 1.0 / 4.5, 1e-6);
  EXPECT_EQ(im.u[0][0], 1.0f);
  EXPECT_EQ(im.u[0][8], 0.0f);
}

TEST(UgridImport, LongitudeLatitudeNodesKeepTheirPlaceThroughTheGeoref) {
  UgridContent content = test::TriangulatedGridContent(4, 3, 0.01, 29.7, -5.3);
  content.nodes = UgridContent::Nodes::LonLat;
  const Imported im = Import("lonlat", content);
  ASSERT_EQ(im.result.status, kExitOk) << im.result.err;
  LakeGeoref georef;
  ASSERT_TRUE(georef.Open(im.state.Georef, "test").ok()) << im.state.Georef;
  EXPECT_NE(im.state.Georef.find("+proj=tmerc"), std::string::npos);
  for (int n = 1; n <= im.state.NodeCount; ++n) {
    double lon, lat;
    georef.ToLonLat(im.state.NodeX(n), im.state.NodeY(n), lon, lat);
    EXPECT_NEAR(lon, content.x[n - 1], 2e-6) << "node " << n;  // 0.1 m in the file
    EXPECT_NEAR(lat, content.y[n - 1], 2e-6) << "node " << n;
  }
  EXPECT_NEAR(im.state.NodeX(4) - im.state.NodeX(1), 3 * 1.1085,
              0.01);  // 0.01° of longitude at 5.3° S is 1.1087 km
}

// The georef line written for each way a file can name its CRS puts every
// node where PROJ puts its UTM coordinates.
TEST(UgridImport, GeorefLineMatchesTheFilesCrsInEveryForm) {
  const std::string utm = "+proj=utm +zone=35 +south +datum=WGS84 +units=m +no_defs";
  PJ_CONTEXT* context = proj_context_create();
  PJ* crs = proj_create(context, "EPSG:32735");
  ASSERT_NE(crs, nullptr);
  const std::string wkt = proj_as_wkt(context, crs, PJ_WKT2_2019, nullptr);
  PJ* inverse = proj_create(context, utm.c_str());
  const std::pair<std::string, std::string> forms[] = {
      {"spatial_ref", utm}, {"crs_wkt", wkt}, {"EPSG_code", "EPSG:32735"}};
  for (const auto& [attribute, text] : forms) {
    UgridContent content = test::TriangulatedGridContent(3, 3, 5 * kStep, kX0, kY0);
    content.crsAttribute = attribute;
    content.crs = text;
    const Imported im = Import("crs_" + attribute, content);
    ASSERT_EQ(im.result.status, kExitOk) << im.result.err;
    LakeGeoref georef;
    ASSERT_TRUE(georef.Open(im.state.Georef, "test").ok()) << im.state.Georef;
    for (int n = 1; n <= im.state.NodeCount; n += 4) {
      const PJ_COORD expected =
          proj_trans(inverse, PJ_INV, proj_coord(content.x[n - 1], content.y[n - 1], 0, 0));
      double lon = 0, lat = 0;
      georef.ToLonLat(im.state.NodeX(n), im.state.NodeY(n), lon, lat);
      EXPECT_NEAR(lon, proj_todeg(expected.lp.lam), 1e-8) << attribute << " node " << n;
      EXPECT_NEAR(lat, proj_todeg(expected.lp.phi), 1e-8) << attribute << " node " << n;
    }
  }
  proj_destroy(inverse);
  proj_destroy(crs);
  proj_context_destroy(context);
}

TEST(UgridImport, EastwardVelocitiesTurnByTheMeridianConvergence) {
  // 250 km east of the central meridian of UTM zone 33 at 60° N the
  // meridians lean by about 3.9°: a current due east runs that much left of
  // the grid's x axis. Expected: tan γ = tan Δλ · sin φ.
  const std::string utm = "+proj=utm +zone=33 +datum=WGS84 +units=m +no_defs";
  UgridContent content = test::TriangulatedGridContent(3, 3, kStep, 750000.0, 6650000.0);
  content.crs = utm;
  content.uStandardName = "eastward_sea_water_velocity";
  content.vStandardName = "northward_sea_water_velocity";
  content.velocity = [](int, int, int, bool v) { return v ? 0.0f : 1.0f; };
  const Imported im = Import("convergence", content);
  ASSERT_EQ(im.result.status, kExitOk) << im.result.err;
  PJ_CONTEXT* context = proj_context_create();
  PJ* projection = proj_create(context, utm.c_str());
  const PJ_COORD node = proj_trans(projection, PJ_INV, proj_coord(content.x[4], content.y[4], 0, 0));
  const double lon = proj_todeg(node.lp.lam), lat = proj_todeg(node.lp.phi);
  proj_destroy(projection);
  proj_context_destroy(context);
  constexpr double kCentralMeridian = 15.0, kDegree = 3.14159265358979323846 / 180.0;
  const double expected =
      std::atan(std::tan((lon - kCentralMeridian) * kDegree) * std::sin(lat * kDegree)) / kDegree;
  EXPECT_NEAR(std::atan2(im.v[0][4], im.u[0][4]) / kDegree, expected, 0.01);
  EXPECT_NEAR(std::hypot(im.u[0][4], im.v[0][4]), 1.0, 1e-6);
  EXPECT_GT(expected, 3.5);
}

TEST(UgridImport, LayerIsChosenAndTimeIsInterpolated) {
  // Hourly frames whose velocity is the hour plus ten times the layer.
  UgridContent content = test::TriangulatedGridContent(3, 3, kStep, kX0, kY0);
  content.layers = 3;
  content.times.clear();
  for (int h = 0; h <= 200; ++h) content.times.push_back(h);
  content.velocity = [](int t, int, int layer, bool v) { return v ? 0.0f : float(t + 10 * layer); };
  const Imported im = Import("layers", content, {"--layer", "2", "--start", "2020-01-01T00:30"});
  ASSERT_EQ(im.result.status, kExitOk) << im.result.err;
  ASSERT_EQ(im.u.size(), 84u);
  for (const int k : {0, 1, 83}) EXPECT_FLOAT_EQ(im.u[k][3], 10.5f + 2.0f * float(k)) << "frame " << k;
  EXPECT_NE(im.result.out.find("84 frames from 2020-01-01T00:30:00"), std::string::npos) << im.result.out;
}

TEST(UgridImport, DepthAverageWeighsLayersBySigmaThickness) {
  // Layers half, a quarter and a quarter of the depth; the velocity is ten
  // times the layer (0, 10, 20): the mean is 0·½ + 10·¼ + 20·¼ = 7.5.
  UgridContent content = test::TriangulatedGridContent(3, 3, kStep, kX0, kY0);
  content.layers = 3;
  content.sigmaInterfaces = {-1.0, -0.5, -0.25, 0.0};
  content.velocity = [](int, int, int layer, bool v) { return v ? 1.0f : float(10 * layer); };
  const Imported im = Import("depthaverage", content, {"--depth-average"});
  ASSERT_EQ(im.result.status, kExitOk) << im.result.err;
  EXPECT_FLOAT_EQ(im.u[5][2], 7.5f);
  EXPECT_FLOAT_EQ(im.v[5][2], 1.0f);
}

// ---------------------------------------------------------------------------
// Files and options that are refused: one line, exit status 2, nothing written.

struct Refusal {
  const char* name;
  std::function<void(UgridContent&)> spoil;
  std::vector<std::string> args;
  const char* message;
};

void PrintTo(const Refusal& r, std::ostream* out) { *out << r.name; }

class UgridRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(UgridRefusal, SaysWhatIsWrongAndWritesNothing) {
  UgridContent content = test::TriangulatedGridContent(3, 3, kStep, kX0, kY0);
  for (int& n : content.faces) n += 1;
  content.startIndex = 1;
  GetParam().spoil(content);
  const Imported im = Import(std::string("refused_") + GetParam().name, content, GetParam().args);
  EXPECT_EQ(im.result.status, kExitBadInput);
  EXPECT_EQ(im.result.err.rfind("lakedrift-batch: ", 0), 0u) << im.result.err;
  EXPECT_NE(im.result.err.find(GetParam().message), std::string::npos) << im.result.err;
  EXPECT_EQ(std::count(im.result.err.begin(), im.result.err.end(), '\n'), 1) << im.result.err;
  EXPECT_TRUE(std::filesystem::is_empty(im.folder / "out"));
}

const Refusal kRefusals[] = {
    {"NoTopology",
     [](UgridContent& s) { s.topology = false; },
     {},
     "no variable with cf_role = \"mesh_topology\""},
    {"NodeOutOfRange",
     [](UgridContent& s) { s.faces[4] = 10; },
     {},
     "face 1 (counting from 0): node 10 is outside 1..9"},
    {"NonManifoldEdge",
     [](UgridContent& s) {
       s.x.push_back(kX0 + 2 * kStep);
       s.y.push_back(kY0 - kStep);
       s.faces.insert(s.faces.end(), {1, 10, 5});
     },
     {},
     "the edge is shared by more than two faces"},
    {"NanCoordinate",
     [](UgridContent& s) { s.y[4] = std::numeric_limits<double>::quiet_NaN(); },
     {},
     "node 5: its coordinates are not numbers"},
    {"DuplicateFace",
     [](UgridContent& s) {
       s.faces.insert(s.faces.end(), {5, 2, 1});
     },
     {},
     "face 8 (counting from 0) repeats face 0"},
    {"DegenerateFace",
     [](UgridContent& s) {
       s.faces.insert(s.faces.end(), {1, 2, 3});
     },
     {},
     "face 8 (counting from 0) is degenerate"},
    {"Pentagon",
     [](UgridContent& s) {
       s.width = 5;
       s.faces = {1, 2, 3, 6, 5};
     },
     {},
     "face 0 (counting from 0) has 5 nodes; only triangles and quadrilaterals are read"},
    {"TimeSpanTooShort",
     [](UgridContent& s) {
       s.times = {0, 100};
     },
     {},
     "the file covers 2020-01-01T00:00:00 to 2020-01-05T04:00:00, but the week from 2020-01-01T00:00:00 "
     "needs"},
    {"StartAfterTheFile",
     [](UgridContent&) {},
     {"--start", "2020-01-03"},
     "needs 2020-01-03T00:00:00 to 2020-01-09T22:00:00"},
    {"Calendar360Day", [](UgridContent& s) { s.calendar = "360_day"; }, {}, "calendar '360_day' is not read"},
    {"NoVelocities", [](UgridContent& s) { s.uStandardName = "x"; }, {}, "no velocities with standard_name"},
    {"TwoCandidateVelocities",
     [](UgridContent& s) {
       s.uStandardName = "eastward_sea_water_velocity";
       s.vStandardName = "eastward_sea_water_velocity";
     },
     {},
     "several variables have standard_name eastward_sea_water_velocity (ucx, ucy)"},
    {"LayeredWithoutLayer",
     [](UgridContent& s) { s.layers = 2; },
     {},
     "has 2 layers (nLayers): choose one with --layer K"},
    {"DepthAverageWithoutThicknesses",
     [](UgridContent& s) { s.layers = 2; },
     {"--depth-average"},
     "--depth-average: no layer thicknesses for nLayers"},
    {"LayerOfAFlatVariable", [](UgridContent&) {}, {"--layer", "1"}, "--layer: ucx has no layers"},
    {"UnknownVariable", [](UgridContent&) {}, {"--u", "ucx", "--v", "vvv"}, "--v vvv: no such variable"},
    {"BadStart", [](UgridContent&) {}, {"--start", "soon"}, "--start: expected a date"},
    {"BadLayer", [](UgridContent&) {}, {"--layer", "0"}, "--layer: expected a layer number from 1, got '0'"},
};

INSTANTIATE_TEST_SUITE_P(Files, UgridRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(UgridRefusal, MissingFileIsNamed) {
  const auto out = test::FreshOutputDir("ugrid_missing");
  const Result r = Batch({"import", (out / "absent.nc").string(), "--out", out.string()});
  EXPECT_EQ(r.status, kExitBadInput);
  EXPECT_NE(r.err.find("absent.nc: not found"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace lakedrift
