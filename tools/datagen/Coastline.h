#pragma once
#include <filesystem>
#include <vector>

#include "CoastRing.h"

namespace lakedrift::datagen {

// The committed shoreline of the lake in km: ring 0 the lake shore, the
// others its islands.
class Coastline {
 public:
  // Reads the shoreline text file ('rings R', then 'ring K N' and N lines
  // 'x y' per ring; '#' lines are comments). Throws std::runtime_error on
  // any departure from that layout.
  static Coastline Load(const std::filesystem::path& path);

  // The plane of the shoreline file (tools/make_shoreline.py): transverse
  // Mercator on WGS84 about 30° E with its origin on the equator, scale 1,
  // x east and y north in km.
  static constexpr double kCentralMeridian = 30.0;
  static constexpr double kLatitudeOfOrigin = 0.0;
  static constexpr double kScale = 1.0;
  static constexpr const char* kEllipsoid = "WGS84";

  // The rings, shore first; every edge is real shore.
  const std::vector<CoastRing>& Rings() const { return rings_; }

 private:
  std::vector<CoastRing> rings_;
};

}  // namespace lakedrift::datagen
