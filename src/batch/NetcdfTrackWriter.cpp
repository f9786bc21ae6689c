#include "batch/NetcdfTrackWriter.h"

#include <netcdf.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

#include "model/ModelState.h"

namespace lakedrift {
namespace {

// Chunks hold one level of up to this many particles: a level is written
// out whole as soon as it is complete.
constexpr std::size_t kMaxChunkParticles = 1u << 18;

int PutText(int ncid, int var, const char* name, const std::string& value) {
  return nc_put_att_text(ncid, var, name, value.size(), value.c_str());
}

std::string TimeUnits(DateTime start) {
  std::string iso = FormatIsoDateTime(start);  // 1997-04-02T02:00:00
  std::replace(iso.begin(), iso.end(), 'T', ' ');
  return "hours since " + iso;
}

// The CF description of a transverse Mercator grid in metres.
int PutTransverseMercator(int ncid, int var, const LakeGeoref& georef) {
  const std::pair<const char*, const char*> parameters[] = {{"longitude_of_central_meridian", "lon_0"},
                                                            {"latitude_of_projection_origin", "lat_0"},
                                                            {"scale_factor_at_central_meridian", "k"},
                                                            {"false_easting", "x_0"},
                                                            {"false_northing", "y_0"}};
  int code = PutText(ncid, var, "grid_mapping_name", "transverse_mercator");
  for (const auto& [cf, proj] : parameters) {
    const std::string text = georef.Parameter(proj);
    const double value = text.empty() ? (std::string(proj) == "k" ? 1.0 : 0.0) : std::stod(text);
    if (code == NC_NOERR) code = nc_put_att_double(ncid, var, cf, NC_DOUBLE, 1, &value);
  }
  return code;
}

}  // namespace

NetcdfTrackWriter::NetcdfTrackWriter(const std::filesystem::path& path, DateTime scenarioStart, int particles,
                                     int levels, std::map<std::string, std::string> attributes,
                                     const LakeGeoref* georef)
    : file_(path),
      start_(scenarioStart),
      particles_(particles),
      levels_(levels),
      attributes_(std::move(attributes)),
      georef_(georef) {}

// lon and lat beside x and y, and the grid mapping of x and y: the georef
// line's PROJ string and its WKT.
int NetcdfTrackWriter::DefineLonLat(const int dims[2], const std::size_t chunk[2]) {
  int crsVar = -1;
  int code = nc_def_var(ncid_, "lon", NC_DOUBLE, 2, dims, &lonVar_);
  if (code == NC_NOERR) code = nc_def_var(ncid_, "lat", NC_DOUBLE, 2, dims, &latVar_);
  if (code == NC_NOERR) code = nc_def_var(ncid_, "crs", NC_INT, 0, nullptr, &crsVar);
  for (int var : {lonVar_, latVar_})
    if (code == NC_NOERR) code = nc_def_var_chunking(ncid_, var, NC_CHUNKED, chunk);
  if (code == NC_NOERR) code = PutText(ncid_, lonVar_, "standard_name", "longitude");
  if (code == NC_NOERR) code = PutText(ncid_, lonVar_, "units", "degrees_east");
  if (code == NC_NOERR) code = PutText(ncid_, latVar_, "standard_name", "latitude");
  if (code == NC_NOERR) code = PutText(ncid_, latVar_, "units", "degrees_north");
  if (code == NC_NOERR) code = PutText(ncid_, crsVar, "proj4_params", georef_->Definition());
  if (code == NC_NOERR && georef_->Parameter("proj") == "tmerc")
    code = PutTransverseMercator(ncid_, crsVar, *georef_);
  if (const std::string wkt = georef_->MetreCrsWkt(); code == NC_NOERR && !wkt.empty()) {
    code = PutText(ncid_, crsVar, "crs_wkt", wkt);
    if (code == NC_NOERR) code = PutText(ncid_, crsVar, "spatial_ref", wkt);
  }
  for (int var : {xVar_, yVar_})
    if (code == NC_NOERR) code = PutText(ncid_, var, "grid_mapping", "crs");
  return code;
}

NetcdfTrackWriter::~NetcdfTrackWriter() {
  if (ncid_ >= 0) nc_close(ncid_);
}

Status NetcdfTrackWriter::Check(int code, const std::string& doing) const {
  if (code == NC_NOERR) return Status::Ok();
  return Status::Fail(ErrorKind::ReadFailed,
                      "NetCDF file " + file_.FinalPath().string() + ": " + doing + ": " + nc_strerror(code));
}

Status NetcdfTrackWriter::Open() {
  if (Status s = Check(nc_create(file_.TemporaryPath().c_str(), NC_NETCDF4 | NC_CLOBBER, &ncid_), "create");
      !s.ok())
    return s;
  int trajectoryDim = -1, obsDim = -1, trajectoryVar = -1;
  int code = nc_def_dim(ncid_, "trajectory", static_cast<size_t>(particles_), &trajectoryDim);
  if (code == NC_NOERR) code = nc_def_dim(ncid_, "obs", static_cast<size_t>(levels_), &obsDim);
  const int dims[2] = {trajectoryDim, obsDim};
  if (code == NC_NOERR) code = nc_def_var(ncid_, "trajectory", NC_INT, 1, &trajectoryDim, &trajectoryVar);
  if (code == NC_NOERR) code = nc_def_var(ncid_, "time", NC_DOUBLE, 2, dims, &timeVar_);
  if (code == NC_NOERR) code = nc_def_var(ncid_, "x", NC_DOUBLE, 2, dims, &xVar_);
  if (code == NC_NOERR) code = nc_def_var(ncid_, "y", NC_FLOAT, 2, dims, &yVar_);
  const size_t chunk[2] = {std::min<size_t>(static_cast<size_t>(particles_), kMaxChunkParticles), 1};
  for (int var : {timeVar_, xVar_, yVar_})
    if (code == NC_NOERR) code = nc_def_var_chunking(ncid_, var, NC_CHUNKED, chunk);
  if (code == NC_NOERR && georef_) code = DefineLonLat(dims, chunk);
  // Every particle shares a level's time, so its chunks compress to almost
  // nothing.
  if (code == NC_NOERR) code = nc_def_var_deflate(ncid_, timeVar_, 1, 1, 1);
  if (Status s = Check(code, "define"); !s.ok()) return s;

  code = PutText(ncid_, NC_GLOBAL, "Conventions", "CF-1.8");
  if (code == NC_NOERR) code = PutText(ncid_, NC_GLOBAL, "featureType", "trajectory");
  if (code == NC_NOERR) code = PutText(ncid_, NC_GLOBAL, "title", "LakeDrift particle tracks");
  if (code == NC_NOERR) code = PutText(ncid_, NC_GLOBAL, "source", "LakeDrift lakedrift-batch run");
  for (const auto& [name, value] : attributes_)
    if (code == NC_NOERR) code = PutText(ncid_, NC_GLOBAL, name.c_str(), value);
  if (code == NC_NOERR) code = PutText(ncid_, trajectoryVar, "cf_role", "trajectory_id");
  if (code == NC_NOERR) code = PutText(ncid_, trajectoryVar, "long_name", "particle number");
  if (code == NC_NOERR) code = PutText(ncid_, timeVar_, "standard_name", "time");
  if (code == NC_NOERR) code = PutText(ncid_, timeVar_, "units", TimeUnits(start_));
  if (code == NC_NOERR) code = PutText(ncid_, timeVar_, "calendar", "standard");
  if (code == NC_NOERR) code = PutText(ncid_, xVar_, "standard_name", "projection_x_coordinate");
  if (code == NC_NOERR) code = PutText(ncid_, xVar_, "long_name", "x (east) on the lake grid");
  if (code == NC_NOERR) code = PutText(ncid_, xVar_, "units", "m");
  if (code == NC_NOERR) code = PutText(ncid_, yVar_, "standard_name", "projection_y_coordinate");
  if (code == NC_NOERR) code = PutText(ncid_, yVar_, "long_name", "y (north) on the lake grid");
  if (code == NC_NOERR) code = PutText(ncid_, yVar_, "units", "m");
  const std::string coordinates = georef_ ? "time lat lon" : "time x y";
  for (int var : {timeVar_, xVar_, yVar_, lonVar_, latVar_})
    if (code == NC_NOERR && var >= 0) code = PutText(ncid_, var, "coordinates", coordinates);
  if (code == NC_NOERR) code = nc_enddef(ncid_);
  if (Status s = Check(code, "write the header"); !s.ok()) return s;

  std::vector<int> numbers(static_cast<std::size_t>(particles_));
  std::iota(numbers.begin(), numbers.end(), 1);
  return Check(nc_put_var_int(ncid_, trajectoryVar, numbers.data()), "write particle numbers");
}

Status NetcdfTrackWriter::WriteLevel(int level, double hours, std::span<const double> x,
                                     std::span<const float> y) {
  const size_t start[2] = {0, static_cast<size_t>(level - 1)};
  const size_t count[2] = {x.size(), 1};
  const std::vector<double> times(x.size(), hours);
  int code = nc_put_vara_double(ncid_, timeVar_, start, count, times.data());
  if (code == NC_NOERR) code = nc_put_vara_double(ncid_, xVar_, start, count, x.data());
  if (code == NC_NOERR) code = nc_put_vara_float(ncid_, yVar_, start, count, y.data());
  if (code == NC_NOERR && georef_) {
    std::vector<double> lon(x.size()), lat(x.size());
    for (std::size_t p = 0; p < x.size(); ++p)
      georef_->ToLonLat(x[p] * kKmPerMetre, y[p] * kKmPerMetre, lon[p], lat[p]);
    code = nc_put_vara_double(ncid_, lonVar_, start, count, lon.data());
    if (code == NC_NOERR) code = nc_put_vara_double(ncid_, latVar_, start, count, lat.data());
  }
  return Check(code, "write level " + std::to_string(level));
}

Status NetcdfTrackWriter::Finish() {
  const int code = nc_close(ncid_);
  ncid_ = -1;
  if (Status s = Check(code, "close"); !s.ok()) return s;
  return file_.Commit();
}

}  // namespace lakedrift
