#include "ugrid/UgridWriter.h"

#include <netcdf.h>

#include <stdexcept>

namespace lakedrift::test {
namespace {

void Check(int code, const char* what) {
  if (code != NC_NOERR) throw std::runtime_error(std::string(what) + ": " + nc_strerror(code));
}

void Text(int nc, int var, const char* name, const std::string& value) {
  Check(nc_put_att_text(nc, var, name, value.size(), value.c_str()), name);
}

void DefineMesh(int nc, const UgridContent& s, int nodeDim, int faceDim, int widthDim) {
  int mesh = 0, x = 0, y = 0, faces = 0, crs = 0;
  Check(nc_def_var(nc, "mesh2d", NC_INT, 0, nullptr, &mesh), "mesh2d");
  if (s.topology) {
    Text(nc, mesh, "cf_role", "mesh_topology");
    const int two = 2;
    Check(nc_put_att_int(nc, mesh, "topology_dimension", NC_INT, 1, &two), "topology_dimension");
  }
  Text(nc, mesh, "node_coordinates", "mesh2d_node_x mesh2d_node_y");
  Text(nc, mesh, "face_node_connectivity", "mesh2d_face_nodes");
  Text(nc, mesh, "face_dimension", "nFaces");
  const bool lonLat = s.nodes == UgridContent::Nodes::LonLat;
  Check(nc_def_var(nc, "mesh2d_node_x", NC_DOUBLE, 1, &nodeDim, &x), "x");
  Check(nc_def_var(nc, "mesh2d_node_y", NC_DOUBLE, 1, &nodeDim, &y), "y");
  Text(nc, x, "standard_name", lonLat ? "longitude" : "projection_x_coordinate");
  Text(nc, y, "standard_name", lonLat ? "latitude" : "projection_y_coordinate");
  Text(nc, x, "units", lonLat ? "degrees_east" : "m");
  Text(nc, y, "units", lonLat ? "degrees_north" : "m");
  if (s.nodes == UgridContent::Nodes::Projected) {
    Check(nc_def_var(nc, "projected_coordinate_system", NC_INT, 0, nullptr, &crs), "crs");
    Text(nc, crs, s.crsAttribute.c_str(), s.crs);
    Text(nc, x, "grid_mapping", "projected_coordinate_system");
    Text(nc, y, "grid_mapping", "projected_coordinate_system");
  }
  const int dims[] = {faceDim, widthDim}, transposedDims[] = {widthDim, faceDim};
  Check(nc_def_var(nc, "mesh2d_face_nodes", NC_INT, 2, s.transposed ? transposedDims : dims, &faces),
        "faces");
  Check(nc_put_att_int(nc, faces, "start_index", NC_INT, 1, &s.startIndex), "start_index");
  if (s.fill) Check(nc_put_att_int(nc, faces, "_FillValue", NC_INT, 1, &*s.fill), "_FillValue");
}

void PutMesh(int nc, const UgridContent& s) {
  int var = 0;
  Check(nc_inq_varid(nc, "mesh2d_node_x", &var), "x");
  Check(nc_put_var_double(nc, var, s.x.data()), "x");
  Check(nc_inq_varid(nc, "mesh2d_node_y", &var), "y");
  Check(nc_put_var_double(nc, var, s.y.data()), "y");
  Check(nc_inq_varid(nc, "mesh2d_face_nodes", &var), "faces");
  std::vector<int> faces = s.faces;
  const std::size_t count = s.faces.size() / static_cast<std::size_t>(s.width);
  if (s.transposed)
    for (std::size_t f = 0; f < count; ++f)
      for (std::size_t k = 0; k < static_cast<std::size_t>(s.width); ++k)
        faces[k * count + f] = s.faces[f * s.width + k];
  Check(nc_put_var_int(nc, var, faces.data()), "faces");
}

void PutVelocity(int nc, int var, const UgridContent& s, int places, bool v) {
  const int layers = s.layers ? s.layers : 1;
  std::vector<float> values;
  for (int t = 0; t < static_cast<int>(s.times.size()); ++t)
    for (int at = 0; at < places; ++at)
      for (int k = 0; k < layers; ++k) values.push_back(s.velocity(t, at, s.layers ? k : 0, v));
  Check(nc_put_var_float(nc, var, values.data()), "velocity");
}

}  // namespace

void WriteUgrid(const std::filesystem::path& path, const UgridContent& s) {
  int nc = 0, nodeDim = 0, faceDim = 0, widthDim = 0, timeDim = 0, layerDim = 0, time = 0, u = 0, v = 0;
  Check(nc_create(path.c_str(), NC_NETCDF4 | NC_CLOBBER, &nc), path.c_str());
  const int faceCount = static_cast<int>(s.faces.size()) / s.width;
  Check(nc_def_dim(nc, "nNodes", s.x.size(), &nodeDim), "nNodes");
  Check(nc_def_dim(nc, "nFaces", static_cast<std::size_t>(faceCount), &faceDim), "nFaces");
  Check(nc_def_dim(nc, "nMaxFaceNodes", static_cast<std::size_t>(s.width), &widthDim), "nMaxFaceNodes");
  Check(nc_def_dim(nc, "time", NC_UNLIMITED, &timeDim), "time");
  DefineMesh(nc, s, nodeDim, faceDim, widthDim);
  Check(nc_def_var(nc, "time", NC_DOUBLE, 1, &timeDim, &time), "time");
  Text(nc, time, "units", s.timeUnits);
  if (!s.calendar.empty()) Text(nc, time, "calendar", s.calendar);
  std::vector<int> dims = {timeDim, s.onFaces ? faceDim : nodeDim};
  if (s.layers) {
    Check(nc_def_dim(nc, "nLayers", static_cast<std::size_t>(s.layers), &layerDim), "nLayers");
    dims.push_back(layerDim);
  }
  int sigma = -1, interfaceDim = -1;
  if (!s.sigmaInterfaces.empty()) {
    Check(nc_def_dim(nc, "nInterfaces", s.sigmaInterfaces.size(), &interfaceDim), "nInterfaces");
    Check(nc_def_var(nc, "interface_sigma", NC_DOUBLE, 1, &interfaceDim, &sigma), "interface_sigma");
    Text(nc, sigma, "standard_name", "ocean_sigma_coordinate");
  }
  Check(nc_def_var(nc, "ucx", NC_FLOAT, static_cast<int>(dims.size()), dims.data(), &u), "ucx");
  Check(nc_def_var(nc, "ucy", NC_FLOAT, static_cast<int>(dims.size()), dims.data(), &v), "ucy");
  for (const auto& [var, standard] : {std::pair{u, s.uStandardName}, std::pair{v, s.vStandardName}}) {
    Text(nc, var, "standard_name", standard);
    Text(nc, var, "mesh", "mesh2d");
    Text(nc, var, "location", s.onFaces ? "face" : "node");
    Text(nc, var, "units", "m s-1");
  }
  Check(nc_enddef(nc), "enddef");
  PutMesh(nc, s);
  if (sigma >= 0) Check(nc_put_var_double(nc, sigma, s.sigmaInterfaces.data()), "interface_sigma");
  const std::size_t start = 0, count = s.times.size();
  Check(nc_put_vara_double(nc, time, &start, &count, s.times.data()), "time");
  PutVelocity(nc, u, s, s.onFaces ? faceCount : static_cast<int>(s.x.size()), false);
  PutVelocity(nc, v, s, s.onFaces ? faceCount : static_cast<int>(s.x.size()), true);
  Check(nc_close(nc), "close");
}

UgridContent GridSpec(int columns, int rows, double step, double x0, double y0) {
  UgridContent s;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      s.x.push_back(x0 + c * step);
      s.y.push_back(y0 + r * step);
    }
  s.width = 4;
  s.startIndex = 0;
  for (int r = 0; r + 1 < rows; ++r)
    for (int c = 0; c + 1 < columns; ++c) {
      const int a = r * columns + c;
      s.faces.insert(s.faces.end(), {a, a + 1, a + 1 + columns, a + columns});
    }
  return s;
}

UgridContent TriangulatedGridContent(int columns, int rows, double step, double x0, double y0) {
  UgridContent s = GridSpec(columns, rows, step, x0, y0);
  std::vector<int> triangles;
  for (std::size_t f = 0; f < s.faces.size(); f += 4) {
    const int* q = s.faces.data() + f;
    triangles.insert(triangles.end(), {q[0], q[1], q[2], q[0], q[2], q[3]});
  }
  s.faces = triangles;
  s.width = 3;
  return s;
}

}  // namespace lakedrift::test
