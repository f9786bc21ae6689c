#include "ugrid/LakeGeoref.h"

#include <proj.h>

#include <cstdio>
#include <sstream>
#include <vector>

namespace lakedrift {
namespace {

constexpr double kUtmScale = 0.9996;
constexpr double kUtmFalseEasting = 500000.0;
constexpr double kUtmSouthFalseNorthing = 10000000.0;
constexpr int kUtmZoneWidth = 6;
constexpr int kUtmFirstMeridian = -183;

// A PROJ context with a conversion, destroyed together.
struct Handle {
  PJ_CONTEXT* context = proj_context_create();
  PJ* pj = nullptr;
  Handle() { proj_log_level(context, PJ_LOG_NONE); }
  ~Handle() {
    if (pj) proj_destroy(pj);
    proj_context_destroy(context);
  }
};

// The value of "+name=value" among the words, or `fallback`.
std::string Parameter(const std::vector<std::string>& words, const std::string& name,
                      const std::string& fallback) {
  for (const auto& w : words)
    if (w.rfind("+" + name + "=", 0) == 0) return w.substr(name.size() + 2);
  return fallback;
}

bool HasFlag(const std::vector<std::string>& words, const std::string& name) {
  for (const auto& w : words)
    if (w == "+" + name) return true;
  return false;
}

// A UTM zone as the transverse Mercator it is, so that its false easting
// and northing can be moved (PROJ's utm fixes them).
std::vector<std::string> UtmAsTransverseMercator(const std::vector<std::string>& words) {
  const int zone = std::stoi(Parameter(words, "zone", "0"));
  std::vector<std::string> out = {
      "+proj=tmerc",
      "+lat_0=0",
      "+lon_0=" + std::to_string(zone * kUtmZoneWidth + kUtmFirstMeridian),
      "+k=" + std::to_string(kUtmScale),
      "+x_0=" + std::to_string(kUtmFalseEasting),
      "+y_0=" + std::to_string(HasFlag(words, "south") ? kUtmSouthFalseNorthing : 0.0)};
  for (const auto& w : words)
    if (w.rfind("+proj=", 0) != 0 && w.rfind("+zone=", 0) != 0 && w != "+south") out.push_back(w);
  return out;
}

std::string Number(double v) {
  char text[40];
  std::snprintf(text, sizeof text, "%.3f", v);
  return text;
}

}  // namespace

struct LakeGeoref::Projection {
  Handle handle;
};

LakeGeoref::LakeGeoref() = default;
LakeGeoref::~LakeGeoref() = default;
LakeGeoref::LakeGeoref(LakeGeoref&&) noexcept = default;
LakeGeoref& LakeGeoref::operator=(LakeGeoref&&) noexcept = default;

Status LakeGeoref::Open(const std::string& georef, const std::string& what) {
  if (georef.empty())
    return Status::Fail(ErrorKind::BadValue,
                        what +
                            ": the geometry file has no georef line, so its km grid has no "
                            "longitude and latitude");
  auto p = std::make_unique<Projection>();
  p->handle.pj = proj_create(p->handle.context, georef.c_str());
  if (!p->handle.pj || !proj_angular_input(p->handle.pj, PJ_FWD))
    return Status::Fail(ErrorKind::Malformed,
                        what + ": the georef line '" + georef + "' is not a map projection");
  projection_ = std::move(p);
  definition_ = georef;
  return Status::Ok();
}

std::string LakeGeoref::Parameter(const std::string& name) const {
  return lakedrift::Parameter(Words(definition_), name, "");
}

std::string LakeGeoref::MetreCrsWkt() const {
  std::string metres;
  for (const auto& w : Words(definition_)) metres += (w == "+units=km" ? "+units=m" : w) + " ";
  Handle h;
  h.pj = proj_create(h.context, (metres + "+type=crs").c_str());
  const char* wkt = h.pj ? proj_as_wkt(h.context, h.pj, PJ_WKT1_GDAL, nullptr) : nullptr;
  return wkt ? wkt : "";
}

void LakeGeoref::ToLonLat(double xKm, double yKm, double& lon, double& lat) const {
  const PJ_COORD out = proj_trans(projection_->handle.pj, PJ_INV, proj_coord(xKm, yKm, 0, 0));
  lon = proj_todeg(out.lp.lam);
  lat = proj_todeg(out.lp.phi);
}

void LakeGeoref::FromLonLat(double lon, double lat, double& xKm, double& yKm) const {
  const PJ_COORD out =
      proj_trans(projection_->handle.pj, PJ_FWD, proj_coord(proj_torad(lon), proj_torad(lat), 0, 0));
  xKm = out.xy.x;
  yKm = out.xy.y;
}

Status LocalGridGeoref(const std::string& crs, double originX, double originY, std::string& georef) {
  Handle h;
  h.pj = proj_create(h.context, crs.c_str());
  const char* text = h.pj ? proj_as_proj_string(h.context, h.pj, PJ_PROJ_4, nullptr) : nullptr;
  if (!text)
    return Status::Fail(ErrorKind::Malformed, "the mesh's grid mapping is not a CRS that PROJ can read");
  std::vector<std::string> words = Words(text);
  if (Parameter(words, "proj", "") == "longlat")
    return Status::Fail(ErrorKind::Malformed,
                        "the grid mapping is geographic, but the node coordinates are not "
                        "longitude and latitude");
  if (Parameter(words, "units", "m") != "m" || HasFlag(words, "to_meter"))
    return Status::Fail(ErrorKind::Malformed, "the grid mapping's units are not metres");
  if (Parameter(words, "proj", "") == "utm") words = UtmAsTransverseMercator(words);
  const double x0 = std::stod(Parameter(words, "x_0", "0")), y0 = std::stod(Parameter(words, "y_0", "0"));
  georef.clear();
  for (const auto& w : words)
    if (w.rfind("+x_0=", 0) != 0 && w.rfind("+y_0=", 0) != 0 && w.rfind("+units=", 0) != 0 &&
        w != "+type=crs" && w != "+no_defs")
      georef += w + " ";
  georef += "+x_0=" + Number(x0 - originX) + " +y_0=" + Number(y0 - originY) + " +units=km +no_defs";
  return Status::Ok();
}

std::string TransverseMercatorAbout(double lon, double lat) {
  char text[160];
  std::snprintf(text, sizeof text,
                "+proj=tmerc +lat_0=%.6f +lon_0=%.6f +k=1 +x_0=0 +y_0=0 +ellps=WGS84 +units=m", lat, lon);
  return text;
}

Status ProjectLonLat(const std::string& projString, std::vector<double>& x, std::vector<double>& y) {
  Handle h;
  h.pj = proj_create(h.context, projString.c_str());
  if (!h.pj) return Status::Fail(ErrorKind::Malformed, "cannot set up the projection '" + projString + "'");
  for (std::size_t n = 0; n < x.size(); ++n) {
    const PJ_COORD out = proj_trans(h.pj, PJ_FWD, proj_coord(proj_torad(x[n]), proj_torad(y[n]), 0, 0));
    x[n] = out.xy.x;
    y[n] = out.xy.y;
  }
  return Status::Ok();
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

}  // namespace lakedrift
