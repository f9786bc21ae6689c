#pragma once
#include <memory>
#include <string>
#include <vector>

#include "model/Status.h"

namespace lakedrift {

// Longitude and latitude (degrees, WGS84) of a lake grid in km, through the
// PROJ string of its geometry file's georef line.
class LakeGeoref {
 public:
  LakeGeoref();
  ~LakeGeoref();
  LakeGeoref(LakeGeoref&&) noexcept;
  LakeGeoref& operator=(LakeGeoref&&) noexcept;

  // Opens the projection of a georef line; an empty one fails saying the
  // geometry carries none, `what` naming the option that needs it.
  Status Open(const std::string& georef, const std::string& what);
  // The longitude and latitude of a grid point in km.
  void ToLonLat(double xKm, double yKm, double& lon, double& lat) const;
  // The grid point in km of a longitude and latitude.
  void FromLonLat(double lon, double lat, double& xKm, double& yKm) const;
  // The georef line's PROJ string.
  const std::string& Definition() const { return definition_; }
  // A parameter "+name=value" of the PROJ string, empty when absent.
  std::string Parameter(const std::string& name) const;
  // The grid's CRS with metres as its unit, as WKT 1 (the dialect GDAL and
  // QGIS read); empty when PROJ cannot express it.
  std::string MetreCrsWkt() const;

 private:
  struct Projection;
  std::unique_ptr<Projection> projection_;
  std::string definition_;
};

// The georef line of a local km grid whose origin lies at (originX, originY)
// metres of a projected CRS given as WKT or a PROJ string in metres.
Status LocalGridGeoref(const std::string& crs, double originX, double originY, std::string& georef);

// A transverse Mercator in metres about a longitude and latitude (WGS84), as
// a PROJ string.
std::string TransverseMercatorAbout(double lon, double lat);

// Projects longitude/latitude pairs in place to x/y metres of a PROJ string.
Status ProjectLonLat(const std::string& projString, std::vector<double>& x, std::vector<double>& y);

// The blank-separated words of `text`.
std::vector<std::string> Words(const std::string& text);

}  // namespace lakedrift
