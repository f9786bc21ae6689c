// The speed and memory of reading a large UGRID file: "make" writes a
// square mesh of side × side nodes with hourly node velocities, frame by
// frame; "read" opens it as the importer does and interpolates the week's
// 84 frames, printing the times and the peak memory of the process;
// "import" runs the whole import into a folder (meshes that a geometry
// file can hold). scripts/ugrid-speed.sh runs all three.
#include <netcdf.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ugrid/UgridImport.h"
#include "ugrid/UgridModel.h"

namespace {

constexpr double kCellMetres = 100.0;
constexpr double kOriginX = 400000.0, kOriginY = 9400000.0;
constexpr double kKilobytesPerMegabyte = 1024.0;

void Check(int code) {
  if (code != NC_NOERR) {
    std::fprintf(stderr, "netcdf: %s\n", nc_strerror(code));
    std::exit(1);
  }
}

void Text(int nc, int var, const char* name, const char* value) {
  Check(nc_put_att_text(nc, var, name, std::strlen(value), value));
}

int DefineFile(int nc, std::size_t side, std::size_t faces, int& x, int& y, int& conn, int& time, int& u,
               int& v) {
  int nodeDim, faceDim, threeDim, timeDim, mesh, crs;
  Check(nc_def_dim(nc, "nNodes", side * side, &nodeDim));
  Check(nc_def_dim(nc, "nFaces", faces, &faceDim));
  Check(nc_def_dim(nc, "nMaxFaceNodes", 3, &threeDim));
  Check(nc_def_dim(nc, "time", NC_UNLIMITED, &timeDim));
  Check(nc_def_var(nc, "mesh2d", NC_INT, 0, nullptr, &mesh));
  Text(nc, mesh, "cf_role", "mesh_topology");
  const int two = 2;
  Check(nc_put_att_int(nc, mesh, "topology_dimension", NC_INT, 1, &two));
  Text(nc, mesh, "node_coordinates", "node_x node_y");
  Text(nc, mesh, "face_node_connectivity", "face_nodes");
  Check(nc_def_var(nc, "crs", NC_INT, 0, nullptr, &crs));
  Text(nc, crs, "spatial_ref", "+proj=utm +zone=35 +south +datum=WGS84 +units=m +no_defs");
  Check(nc_def_var(nc, "node_x", NC_DOUBLE, 1, &nodeDim, &x));
  Check(nc_def_var(nc, "node_y", NC_DOUBLE, 1, &nodeDim, &y));
  Text(nc, x, "grid_mapping", "crs");
  const int faceDims[] = {faceDim, threeDim};
  Check(nc_def_var(nc, "face_nodes", NC_INT, 2, faceDims, &conn));
  Check(nc_def_var(nc, "time", NC_DOUBLE, 1, &timeDim, &time));
  Text(nc, time, "units", "hours since 2020-01-01 00:00:00");
  const int dims[] = {timeDim, nodeDim};
  Check(nc_def_var(nc, "u", NC_FLOAT, 2, dims, &u));
  Check(nc_def_var(nc, "v", NC_FLOAT, 2, dims, &v));
  Text(nc, u, "standard_name", "sea_water_x_velocity");
  Text(nc, v, "standard_name", "sea_water_y_velocity");
  return nc_enddef(nc);
}

int Make(const std::string& path, std::size_t side, std::size_t frames) {
  int nc, x, y, conn, time, u, v;
  const std::size_t nodes = side * side, faces = 2 * (side - 1) * (side - 1);
  Check(nc_create(path.c_str(), NC_NETCDF4 | NC_CLOBBER, &nc));
  Check(DefineFile(nc, side, faces, x, y, conn, time, u, v));
  std::vector<double> xs(nodes), ys(nodes);
  for (std::size_t n = 0; n < nodes; ++n) {
    xs[n] = kOriginX + kCellMetres * double(n % side);
    ys[n] = kOriginY + kCellMetres * double(n / side);
  }
  Check(nc_put_var_double(nc, x, xs.data()));
  Check(nc_put_var_double(nc, y, ys.data()));
  std::vector<int> corners;
  for (std::size_t r = 0; r + 1 < side; ++r)
    for (std::size_t c = 0; c + 1 < side; ++c) {
      const int a = int(r * side + c), b = a + 1, d = a + int(side), e = d + 1;
      corners.insert(corners.end(), {a, b, e, a, e, d});
    }
  Check(nc_put_var_int(nc, conn, corners.data()));
  std::vector<float> speed(nodes);
  for (std::size_t t = 0; t < frames; ++t) {
    const double hours = double(t);
    const std::size_t one = 1, start[] = {t, 0}, count[] = {1, nodes};
    Check(nc_put_vara_double(nc, time, &t, &one, &hours));
    for (std::size_t n = 0; n < nodes; ++n) speed[n] = float(std::sin(0.001 * double(n) + 0.1 * hours));
    Check(nc_put_vara_float(nc, u, start, count, speed.data()));
    Check(nc_put_vara_float(nc, v, start, count, speed.data()));
  }
  Check(nc_close(nc));
  return 0;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / kKilobytesPerMegabyte;
}

int Read(const std::string& path) {
  const auto begin = std::chrono::steady_clock::now();
  lakedrift::UgridModel model;
  if (auto s = model.Open(path, {}); !s.ok()) return std::fprintf(stderr, "%s\n", s.message().c_str()), 1;
  const double opened = Seconds(begin);
  std::vector<float> u, v;
  for (int k = 0; k < lakedrift::UgridModel::kFrameCount; ++k)
    if (auto s = model.Frame(k, u, v); !s.ok()) return std::fprintf(stderr, "%s\n", s.message().c_str()), 1;
  std::printf("%zu nodes, %zu triangles: mesh %.2f s, 84 frames %.2f s, peak memory %.0f MB\n",
              model.Mesh().x.size(), model.Mesh().triangles.size(), opened, Seconds(begin) - opened,
              PeakMegabytes());
  return 0;
}

int Import(const std::string& path, const std::string& folder) {
  const auto begin = std::chrono::steady_clock::now();
  std::string summary;
  if (auto s = lakedrift::ImportUgrid(path, {}, {folder}, summary); !s.ok())
    return std::fprintf(stderr, "%s\n", s.message().c_str()), 1;
  std::printf("%simport %.2f s, peak memory %.0f MB\n", summary.c_str(), Seconds(begin), PeakMegabytes());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "make" && argc == 5) return Make(argv[2], std::stoul(argv[3]), std::stoul(argv[4]));
  if (mode == "read" && argc == 3) return Read(argv[2]);
  if (mode == "import" && argc == 4) return Import(argv[2], argv[3]);
  std::fprintf(stderr, "usage: ugrid_import_bench make FILE SIDE FRAMES | read FILE | import FILE FOLDER\n");
  return 2;
}
