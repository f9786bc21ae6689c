#include "LocalGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "Coastline.h"

namespace lakedrift::datagen {

namespace {

// The geometry file writes km to four decimals.
constexpr double kFileStepsPerKm = 1e4;
// PROJ takes false eastings and northings in metres whatever +units says.
constexpr double kMetresPerKm = 1000.0;

double OnFileStep(double km) { return std::round(km * kFileStepsPerKm) / kFileStepsPerKm; }

}  // namespace

LocalGrid LocalGrid::SouthWestOf(const LakeMesh& mesh) {
  Vec2 low{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
  for (const auto& ring : mesh.rings) {
    for (const int n : ring) {
      low.x = std::min(low.x, mesh.nodes[n].x);
      low.y = std::min(low.y, mesh.nodes[n].y);
    }
  }
  return LocalGrid({OnFileStep(low.x), OnFileStep(low.y)});
}

LakeMesh LocalGrid::Moved(LakeMesh mesh) const {
  for (Vec2& p : mesh.nodes) p = p - origin_;
  return mesh;
}

std::vector<CoastRing> LocalGrid::Moved(std::vector<CoastRing> rings) const {
  for (CoastRing& ring : rings) {
    for (Vec2& p : ring.points) p = p - origin_;
  }
  return rings;
}

std::string LocalGrid::Georef() const {
  char text[200];
  std::snprintf(text, sizeof text,
                "+proj=tmerc +lat_0=%g +lon_0=%g +k=%g +x_0=%.1f +y_0=%.1f +ellps=%s +units=km +no_defs",
                Coastline::kLatitudeOfOrigin, Coastline::kCentralMeridian, Coastline::kScale,
                -origin_.x * kMetresPerKm, -origin_.y * kMetresPerKm, Coastline::kEllipsoid);
  return text;
}

}  // namespace lakedrift::datagen
