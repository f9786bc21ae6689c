#include "ugrid/UgridModel.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>
#include <utility>

#include "model/GeometryWriter.h"
#include "model/ModelState.h"
#include "ugrid/LakeGeoref.h"

namespace lakedrift {
namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kFrameDays = 2.0 / 24.0;
constexpr double kTimeTolerance = 1e-9;  // days: times equal to well under a millisecond
constexpr double kFileStepsPerKm = 1e4;  // the geometry file writes km to four decimals

bool IsDegrees(const NetcdfFile& f, int var, const char* standardName) {
  const std::string units = f.Text(var, "units");
  return f.Text(var, "standard_name") == standardName || units.rfind("degree", 0) == 0;
}

// Days per unit of a CF time unit, 0 when unknown.
double DaysPer(const std::string& unit) {
  if (unit == "days" || unit == "day" || unit == "d") return 1.0;
  if (unit == "hours" || unit == "hour" || unit == "hr" || unit == "h") return 1.0 / 24.0;
  if (unit == "minutes" || unit == "minute" || unit == "min") return 1.0 / 1440.0;
  if (unit == "seconds" || unit == "second" || unit == "sec" || unit == "s") return 1.0 / kSecondsPerDay;
  return 0.0;
}

// "2026-01-05", "2026-01-05 02:00:00", "2026-01-05T02:00", with an optional
// "Z"; fails on anything else.
std::optional<DateTime> ParseDate(const std::string& text) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, consumed = 0;
  double second = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%d%n", &year, &month, &day, &consumed) != 3) return std::nullopt;
  std::string rest = text.substr(static_cast<std::size_t>(consumed));
  if (!rest.empty() && (rest[0] == 'T' || rest[0] == ' ')) {
    int more = 0;
    if (std::sscanf(rest.c_str() + 1, "%d:%d%n", &hour, &minute, &more) != 2) return std::nullopt;
    rest = rest.substr(static_cast<std::size_t>(more) + 1);
    if (!rest.empty() && rest[0] == ':') {
      char* end = nullptr;
      second = std::strtod(rest.c_str() + 1, &end);
      rest = end;
    }
  }
  if (rest == "Z" || rest == " UTC" || rest == " GMT" || rest == "+00:00" || rest == " +00:00") rest.clear();
  const std::chrono::year_month_day date{std::chrono::year(year),
                                         std::chrono::month(static_cast<unsigned>(month)),
                                         std::chrono::day(static_cast<unsigned>(day))};
  if (!rest.empty() || month < 1 || day < 1 || !date.ok() || hour < 0 || hour > 23 || minute < 0 ||
      minute > 59 || !(second >= 0 && second < 60))
    return std::nullopt;
  return DateTime{MakeDateTime(year, month, day, hour, minute).days + second / kSecondsPerDay};
}

}  // namespace

std::optional<DateTime> ParseIsoDate(const std::string& text) { return ParseDate(text); }

Status UgridModel::Fail(const std::string& what) const {
  return Status::Fail(ErrorKind::Malformed, file_.Path() + ": " + what);
}

Status UgridModel::Open(const std::string& path, const UgridOptions& options) {
  if (Status s = file_.Open(path); !s.ok()) return s;
  if (Status s = ReadMesh(); !s.ok()) return s;
  if (Status s = FindVelocities(options); !s.ok()) return s;
  return SetUpSlices(options);
}

Status UgridModel::FindTopology(int& topology) const {
  for (const int var : file_.Variables())
    if (file_.Text(var, "cf_role") == "mesh_topology" && file_.Number(var, "topology_dimension") == 2.0) {
      topology = var;
      return Status::Ok();
    }
  return Fail(
      "no variable with cf_role = \"mesh_topology\" and topology_dimension = 2: not a 2-D UGRID mesh");
}

Status UgridModel::ReadNodes(int topology, std::vector<double>& x, std::vector<double>& y, bool& lonLat,
                             int& nodeDim) {
  const auto names = Words(file_.Text(topology, "node_coordinates"));
  if (names.size() != 2) return Fail(topologyName_ + ": node_coordinates must name two variables");
  auto xVar = file_.Variable(names[0]), yVar = file_.Variable(names[1]);
  if (!xVar || !yVar)
    return Fail(topologyName_ + ": node_coordinates '" + file_.Text(topology, "node_coordinates") +
                "' name variables that are not in the file");
  const std::string first = file_.Text(*xVar, "standard_name");
  if (first == "latitude" || first == "projection_y_coordinate") std::swap(xVar, yVar);
  if (file_.Dimensions(*xVar).size() != 1 || file_.Dimensions(*xVar) != file_.Dimensions(*yVar))
    return Fail("node coordinates " + names[0] + " and " + names[1] + " must share one dimension");
  nodeDim = file_.Dimensions(*xVar)[0];
  lonLat = IsDegrees(file_, *xVar, "longitude") && IsDegrees(file_, *yVar, "latitude");
  if (Status s = file_.ReadDoubles(*xVar, x); !s.ok()) return s;
  if (Status s = file_.ReadDoubles(*yVar, y); !s.ok()) return s;
  for (const int var : {*xVar, *yVar})
    if (const auto fill = file_.Number(var, "_FillValue")) {
      auto& values = var == *xVar ? x : y;
      std::replace(values.begin(), values.end(), *fill, std::numeric_limits<double>::quiet_NaN());
    }
  return Status::Ok();
}

Status UgridModel::ReadFaces(int topology, FaceTable& faces, int& faceDim) const {
  const std::string name = file_.Text(topology, "face_node_connectivity");
  const auto var = file_.Variable(name);
  if (!var) return Fail(topologyName_ + ": face_node_connectivity '" + name + "' is not in the file");
  const auto dims = file_.Dimensions(*var);
  if (dims.size() != 2) return Fail(name + " must have two dimensions (faces, nodes per face)");
  const std::string faceDimName = file_.Text(topology, "face_dimension");
  const bool transposed = !faceDimName.empty() && file_.DimensionName(dims[1]) == faceDimName;
  faceDim = dims[transposed ? 1 : 0];
  std::vector<int> raw;
  if (Status s = file_.ReadInts(*var, raw); !s.ok()) return s;
  const std::size_t count = file_.DimensionLength(faceDim),
                    width = file_.DimensionLength(dims[transposed ? 0 : 1]);
  const double start = file_.Number(*var, "start_index").value_or(0.0);
  if (start != 0 && start != 1) return Fail(name + ": start_index must be 0 or 1");
  const auto fill = file_.Number(*var, "_FillValue");
  faces.startIndex = static_cast<int>(start);
  faces.nodesPerFace = static_cast<int>(width);
  faces.nodes.resize(raw.size());
  for (std::size_t f = 0; f < count; ++f)
    for (std::size_t k = 0; k < width; ++k) {
      const int value = raw[transposed ? k * count + f : f * width + k];
      const bool isFill = fill ? value == static_cast<int>(*fill) : false;
      faces.nodes[f * width + k] = isFill ? FaceTable::kNoNode : value - faces.startIndex;
    }
  return Status::Ok();
}

std::string UgridModel::CrsOf(int topology, int xVar) const {
  for (const int var : {xVar, topology}) {
    const auto mapping = file_.Variable(file_.Text(var, "grid_mapping"));
    if (!mapping) continue;
    for (const char* attribute : {"crs_wkt", "spatial_ref", "proj4_params", "proj4", "EPSG_code"})
      if (std::string crs = file_.Text(*mapping, attribute); !crs.empty()) return crs;
    if (const auto epsg = file_.Number(*mapping, "epsg"))
      return "EPSG:" + std::to_string(static_cast<int>(*epsg));
  }
  return {};
}

Status UgridModel::ReadMesh() {
  int topology = -1;
  if (Status s = FindTopology(topology); !s.ok()) return s;
  topologyName_ = file_.Name(topology);
  std::vector<double> x, y;
  bool lonLat = false;
  if (Status s = ReadNodes(topology, x, y, lonLat, nodeDim_); !s.ok()) return s;
  FaceTable faces;
  if (Status s = ReadFaces(topology, faces, faceDim_); !s.ok()) return s;
  for (std::size_t n = 0; n < x.size(); ++n)
    if (!std::isfinite(x[n]) || !std::isfinite(y[n]))
      return Fail("node " + std::to_string(n + faces.startIndex) + ": its coordinates are not numbers");
  std::string crs;
  if (lonLat) {
    const auto [xLow, xHigh] = std::minmax_element(x.begin(), x.end());
    const auto [yLow, yHigh] = std::minmax_element(y.begin(), y.end());
    crs = TransverseMercatorAbout((*xLow + *xHigh) / 2, (*yLow + *yHigh) / 2);
    if (Status s = ProjectLonLat(crs, x, y); !s.ok()) return Fail(s.message());
  } else {
    const auto names = Words(file_.Text(topology, "node_coordinates"));
    crs = CrsOf(topology, *file_.Variable(names[0]));
  }
  if (Status s = BuildTriangleMesh(std::move(x), std::move(y), faces, mesh_); !s.ok())
    return Fail(s.message());
  return SetLocalGrid(crs);
}

Status UgridModel::SetLocalGrid(const std::string& crs) {
  const double xMin = *std::min_element(mesh_.x.begin(), mesh_.x.end());
  const double yMin = *std::min_element(mesh_.y.begin(), mesh_.y.end());
  // The origin on the file's 0.1 m step, so that the georef line and the
  // written coordinates agree exactly.
  const double step = kMetresPerKm / kFileStepsPerKm;
  originX_ = std::floor(xMin / step) * step;
  originY_ = std::floor(yMin / step) * step;
  if (crs.empty()) return Status::Ok();
  if (Status s = LocalGridGeoref(crs, originX_, originY_, georef_); !s.ok()) return Fail(s.message());
  return Status::Ok();
}

Status UgridModel::GeometryText(std::string& text) const {
  GeometryTables tables;
  tables.elements = mesh_.triangles, tables.neighbours = mesh_.neighbours, tables.rings = mesh_.rings;
  tables.georef = georef_;
  for (std::size_t n = 0; n < mesh_.x.size(); ++n) {
    tables.x.push_back((mesh_.x[n] - originX_) / kMetresPerKm);
    tables.y.push_back((mesh_.y[n] - originY_) / kMetresPerKm);
  }
  if (Status s = FormatGeometry(tables, text); !s.ok()) return Fail(s.message());
  return Status::Ok();
}

Status UgridModel::FindVelocityPair(const char* uStandard, const char* vStandard, bool& found) {
  std::vector<int> us, vs;
  for (const int var : file_.Variables()) {
    const std::string standard = file_.Text(var, "standard_name");
    if (standard == uStandard) us.push_back(var);
    if (standard == vStandard) vs.push_back(var);
  }
  for (const auto& [vars, standard] : {std::pair{us, uStandard}, std::pair{vs, vStandard}}) {
    if (vars.size() < 2) continue;
    std::string names;
    for (const int var : vars) names += (names.empty() ? "" : ", ") + file_.Name(var);
    return Fail("several variables have standard_name " + std::string(standard) + " (" + names +
                "): name the velocities with --u NAME --v NAME");
  }
  found = !us.empty() && !vs.empty();
  if (!found) return Status::Ok();
  uVar_ = us[0];
  vVar_ = vs[0];
  return Status::Ok();
}

Status UgridModel::FindVelocities(const UgridOptions& options) {
  if (!options.uName.empty() || !options.vName.empty()) {
    if (options.uName.empty() || options.vName.empty()) return Fail("--u and --v go together");
    const auto u = file_.Variable(options.uName), v = file_.Variable(options.vName);
    if (!u) return Fail("--u " + options.uName + ": no such variable");
    if (!v) return Fail("--v " + options.vName + ": no such variable");
    uVar_ = *u;
    vVar_ = *v;
    return Status::Ok();
  }
  // Depth-resolved names first; the barotropic ones are depth-averaged
  // velocities (ADCIRC).
  static constexpr std::pair<const char*, const char*> kPairs[] = {
      {"eastward_sea_water_velocity", "northward_sea_water_velocity"},
      {"sea_water_x_velocity", "sea_water_y_velocity"},
      {"barotropic_eastward_sea_water_velocity", "barotropic_northward_sea_water_velocity"},
      {"barotropic_sea_water_x_velocity", "barotropic_sea_water_y_velocity"}};
  for (const auto& [u, v] : kPairs) {
    bool found = false;
    if (Status s = FindVelocityPair(u, v, found); !s.ok() || found) return s;
  }
  return Fail(
      "no velocities with standard_name eastward_sea_water_velocity/northward_sea_water_velocity, "
      "sea_water_x_velocity/sea_water_y_velocity or their barotropic_ forms: name them with --u NAME --v "
      "NAME");
}

// Where time, space and layers stand among the velocity's dimensions.
Status UgridModel::SetUpSlices(const UgridOptions& options) {
  const auto dims = file_.Dimensions(uVar_);
  if (dims != file_.Dimensions(vVar_))
    return Fail(file_.Name(uVar_) + " and " + file_.Name(vVar_) + " must have the same dimensions");
  const std::string location = file_.Text(uVar_, "location");
  if (!location.empty() && location != "node" && location != "face")
    return Fail(file_.Name(uVar_) + ": velocities on the " + location +
                "s are not read (only node and face)");
  int timeVar = -1;
  for (int i = 0; i < static_cast<int>(dims.size()); ++i) {
    const auto coordinate = file_.Variable(file_.DimensionName(dims[i]));
    if (dims[i] == nodeDim_ && location != "face")
      spaceDimPos_ = i, onFaces_ = false;
    else if (dims[i] == faceDim_ && location != "node")
      spaceDimPos_ = i, onFaces_ = true;
    else if (coordinate && file_.Text(*coordinate, "units").find(" since ") != std::string::npos)
      timeDimPos_ = i, timeVar = *coordinate;
    else if (layerDimPos_ < 0)
      layerDimPos_ = i;
    else
      return Fail(file_.Name(uVar_) + " has more dimensions than time, layer and mesh " +
                  (location.empty() ? "node" : location));
  }
  if (spaceDimPos_ < 0) return Fail(file_.Name(uVar_) + " is not defined on the mesh's nodes or faces");
  if (timeDimPos_ < 0) return Fail(file_.Name(uVar_) + " has no time dimension with a CF time coordinate");
  if (Status s = ChooseLayers(options, layerDimPos_ >= 0 ? dims[layerDimPos_] : -1); !s.ok()) return s;
  if (onFaces_) {
    triangleThird_ = TriangleThirds(mesh_);
    nodeArea_ = NodeAreas(mesh_);
  }
  if (Status s = SetUpTurnToGrid(); !s.ok()) return s;
  return ReadTimeAxis(timeVar, options);
}

// One layer, or every layer weighted by its thickness.
Status UgridModel::ChooseLayers(const UgridOptions& options, int layerDim) {
  if (options.layer != 0 && options.depthAverage)
    return Fail("--layer and --depth-average exclude each other");
  if (layerDim < 0) {
    if (options.layer != 0) return Fail("--layer: " + file_.Name(uVar_) + " has no layers");
    if (options.depthAverage) return Fail("--depth-average: " + file_.Name(uVar_) + " has no layers");
    return Status::Ok();
  }
  if (options.depthAverage) return FindLayerWeights(layerDim);
  const auto layers = static_cast<int>(file_.DimensionLength(layerDim));
  if (options.layer < 1 || options.layer > layers)
    return Fail(file_.Name(uVar_) + " has " + std::to_string(layers) + " layers (" +
                file_.DimensionName(layerDim) + "): choose one with --layer K, K from 1 to " +
                std::to_string(layers) + ", or --depth-average");
  layer_ = options.layer;
  return Status::Ok();
}

// Layer thicknesses as shares of the depth: from the bounds of the layer
// coordinate, or from sigma interfaces (a variable with standard_name
// ocean_sigma_coordinate one longer than the layer count).
Status UgridModel::FindLayerWeights(int layerDim) {
  const std::size_t layers = file_.DimensionLength(layerDim);
  std::vector<double> edges;
  if (const auto coordinate = file_.Variable(file_.DimensionName(layerDim))) {
    if (const auto bounds = file_.Variable(file_.Text(*coordinate, "bounds"))) {
      std::vector<double> pairs;
      if (Status s = file_.ReadDoubles(*bounds, pairs); !s.ok()) return s;
      if (pairs.size() == 2 * layers)
        for (std::size_t k = 0; k < layers; ++k)
          layerWeights_.push_back(std::abs(pairs[2 * k + 1] - pairs[2 * k]));
    }
  }
  for (const int var : file_.Variables()) {
    if (!layerWeights_.empty()) break;
    const auto dims = file_.Dimensions(var);
    if (file_.Text(var, "standard_name") != "ocean_sigma_coordinate" || dims.size() != 1 ||
        file_.DimensionLength(dims[0]) != layers + 1)
      continue;
    if (Status s = file_.ReadDoubles(var, edges); !s.ok()) return s;
    for (std::size_t k = 0; k < layers; ++k) layerWeights_.push_back(std::abs(edges[k + 1] - edges[k]));
  }
  double total = 0;
  for (const double w : layerWeights_) total += w;
  if (layerWeights_.empty() || !(total > 0))
    return Fail("--depth-average: no layer thicknesses for " + file_.DimensionName(layerDim) +
                " (bounds of its coordinate, or sigma interfaces with standard_name ocean_sigma_coordinate)");
  for (double& w : layerWeights_) w /= total;
  return Status::Ok();
}

// Eastward and northward velocities point along the parallels and
// meridians, which a projected grid turns by the meridian convergence (up to
// a few degrees at a UTM zone's edge): each node's true east, found by
// stepping east on the map through the georef line.
Status UgridModel::SetUpTurnToGrid() {
  constexpr double kStepDegrees = 1e-4;
  const std::string standard = file_.Text(uVar_, "standard_name");
  if (georef_.empty() || standard.find("eastward") == std::string::npos) return Status::Ok();
  LakeGeoref grid;
  if (Status s = grid.Open(georef_, "georef"); !s.ok()) return Fail(s.message());
  eastX_.resize(mesh_.x.size());
  eastY_.resize(mesh_.x.size());
  for (std::size_t n = 0; n < mesh_.x.size(); ++n) {
    const double x = (mesh_.x[n] - originX_) / kMetresPerKm, y = (mesh_.y[n] - originY_) / kMetresPerKm;
    double lon = 0, lat = 0, eastX = 0, eastY = 0;
    grid.ToLonLat(x, y, lon, lat);
    grid.FromLonLat(lon + kStepDegrees, lat, eastX, eastY);
    const double length = std::hypot(eastX - x, eastY - y);
    eastX_[n] = length > 0 ? static_cast<float>((eastX - x) / length) : 1.0f;
    eastY_[n] = length > 0 ? static_cast<float>((eastY - y) / length) : 0.0f;
  }
  return Status::Ok();
}

// Eastward/northward components to the grid's x/y (the projection is
// conformal: north is east turned a quarter left).
void UgridModel::TurnToGrid(std::vector<float>& u, std::vector<float>& v) const {
  if (eastX_.empty()) return;
  for (std::size_t n = 0; n < u.size(); ++n) {
    const float east = u[n], north = v[n];
    u[n] = east * eastX_[n] - north * eastY_[n];
    v[n] = east * eastY_[n] + north * eastX_[n];
  }
}

Status UgridModel::ReadTimeAxis(int timeVar, const UgridOptions& options) {
  const std::string name = file_.Name(timeVar), units = file_.Text(timeVar, "units");
  const std::string calendar = file_.Text(timeVar, "calendar");
  if (!calendar.empty() && calendar != "standard" && calendar != "gregorian" &&
      calendar != "proleptic_gregorian")
    return Fail(name + ": calendar '" + calendar +
                "' is not read (standard, gregorian, proleptic_gregorian)");
  const std::size_t since = units.find(" since ");
  const double daysPer = DaysPer(units.substr(0, since));
  const auto epoch = ParseDate(units.substr(since + 7));
  if (daysPer == 0 || !epoch) return Fail(name + ": units '" + units + "' are not \"<unit> since <date>\"");
  if (Status s = file_.ReadDoubles(timeVar, times_); !s.ok()) return s;
  for (double& t : times_) t = epoch->days + t * daysPer;
  for (std::size_t i = 1; i < times_.size(); ++i)
    if (!(times_[i] > times_[i - 1]))
      return Fail(name + ": times must increase (at index " + std::to_string(i) + ")");
  if (times_.empty()) return Fail(name + ": the file holds no times");
  start_ = options.start.value_or(DateTime{times_.front()});
  const double end = start_.days + (kFrameCount - 1) * kFrameDays;
  if (start_.days < times_.front() - kTimeTolerance || end > times_.back() + kTimeTolerance)
    return Fail("the file covers " + FormatIsoDateTime(DateTime{times_.front()}) + " to " +
                FormatIsoDateTime(DateTime{times_.back()}) + ", but the week from " +
                FormatIsoDateTime(start_) + " needs " + FormatIsoDateTime(start_) + " to " +
                FormatIsoDateTime(DateTime{end}));
  return Status::Ok();
}

Status UgridModel::ReadComponent(int var, std::size_t timeIndex, std::vector<float>& values) const {
  const auto dims = file_.Dimensions(var);
  std::vector<std::size_t> start(dims.size(), 0), count(dims.size(), 1);
  start[timeDimPos_] = timeIndex;
  const std::size_t places = file_.DimensionLength(dims[spaceDimPos_]);
  count[spaceDimPos_] = places;
  if (layerDimPos_ >= 0 && layerWeights_.empty()) start[layerDimPos_] = static_cast<std::size_t>(layer_ - 1);
  if (!layerWeights_.empty()) count[layerDimPos_] = layerWeights_.size();
  std::vector<float> slab;
  if (Status s = file_.ReadFloats(var, start, count, slab); !s.ok()) return s;
  const double scale = file_.Number(var, "scale_factor").value_or(1.0);
  const double offset = file_.Number(var, "add_offset").value_or(0.0);
  // Dry cells carry fill values (dry_Value in ADCIRC output); they stand still.
  std::vector<float> absent;
  for (const char* attribute : {"_FillValue", "missing_value", "dry_Value"})
    if (const auto mark = file_.Number(var, attribute)) absent.push_back(static_cast<float>(*mark));
  auto value = [&](float raw) {
    return std::find(absent.begin(), absent.end(), raw) != absent.end() || !std::isfinite(raw)
               ? 0.0
               : raw * scale + offset;
  };
  if (layerWeights_.empty()) {
    values.resize(places);
    for (std::size_t n = 0; n < places; ++n) values[n] = static_cast<float>(value(slab[n]));
    return Status::Ok();
  }
  const std::size_t layers = layerWeights_.size();
  const bool layerFastest = layerDimPos_ > spaceDimPos_;
  values.assign(places, 0.0f);
  for (std::size_t n = 0; n < places; ++n) {
    double sum = 0;
    for (std::size_t k = 0; k < layers; ++k)
      sum += layerWeights_[k] * value(slab[layerFastest ? n * layers + k : k * places + n]);
    values[n] = static_cast<float>(sum);
  }
  return Status::Ok();
}

// Face values to nodes: each node takes the area-weighted mean of the
// triangles around it.
std::vector<float> UgridModel::FacesToNodes(const std::vector<float>& face) const {
  std::vector<double> sum(mesh_.x.size(), 0.0);
  for (std::size_t t = 0; t < mesh_.triangles.size(); ++t)
    for (const int n : mesh_.triangles[t]) sum[n] += triangleThird_[t] * face[mesh_.faceOf[t]];
  std::vector<float> node(sum.size(), 0.0f);
  for (std::size_t n = 0; n < sum.size(); ++n)
    if (nodeArea_[n] > 0) node[n] = static_cast<float>(sum[n] / nodeArea_[n]);
  return node;
}

Status UgridModel::SourceFrame(std::size_t index, std::vector<float>& u, std::vector<float>& v) {
  for (int slot = 0; slot < 2; ++slot)
    if (loaded_[slot] == index) {
      u = loadedU_[slot];
      v = loadedV_[slot];
      return Status::Ok();
    }
  if (Status s = ReadComponent(uVar_, index, u); !s.ok()) return s;
  if (Status s = ReadComponent(vVar_, index, v); !s.ok()) return s;
  if (onFaces_) {
    u = FacesToNodes(u);
    v = FacesToNodes(v);
  }
  TurnToGrid(u, v);
  // Frames go forward in time: the older slot makes room.
  const int slot = loaded_[0] == SIZE_MAX || (loaded_[1] != SIZE_MAX && loaded_[0] < loaded_[1]) ? 0 : 1;
  loaded_[slot] = index;
  loadedU_[slot] = u;
  loadedV_[slot] = v;
  return Status::Ok();
}

Status UgridModel::Frame(int k, std::vector<float>& u, std::vector<float>& v) {
  const double t = start_.days + k * kFrameDays;
  if (times_.size() == 1) return SourceFrame(0, u, v);
  std::size_t i =
      static_cast<std::size_t>(std::upper_bound(times_.begin(), times_.end(), t) - times_.begin());
  i = std::clamp<std::size_t>(i, 1, times_.size() - 1) - 1;
  const double w = std::clamp((t - times_[i]) / (times_[i + 1] - times_[i]), 0.0, 1.0);
  std::vector<float> u1, v1;
  if (Status s = SourceFrame(i, u, v); !s.ok()) return s;
  if (w == 0) return Status::Ok();
  if (Status s = SourceFrame(i + 1, u1, v1); !s.ok()) return s;
  for (std::size_t n = 0; n < u.size(); ++n) {
    u[n] = static_cast<float>((1 - w) * u[n] + w * u1[n]);
    v[n] = static_cast<float>((1 - w) * v[n] + w * v1[n]);
  }
  return Status::Ok();
}

static_assert(std::endian::native == std::endian::little, "flow files hold little-endian floats");

Status UgridModel::WriteFrames(std::FILE* out) {
  std::vector<float> u, v;
  for (int k = 0; k < kFrameCount; ++k) {
    if (Status s = Frame(k, u, v); !s.ok()) return s;
    std::fwrite(u.data(), sizeof(float), u.size(), out);
    std::fwrite(v.data(), sizeof(float), v.size(), out);
  }
  return Status::Ok();
}

}  // namespace lakedrift
