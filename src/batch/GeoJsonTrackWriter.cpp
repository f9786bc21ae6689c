#include "batch/GeoJsonTrackWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/ModelState.h"

namespace lakedrift {
namespace {

constexpr double kHoursPerDay = 24.0;
// Seven decimals of a degree are about a centimetre: finer than any track.
constexpr const char* kPositionFormat = "[%.7f,%.7f]";

}  // namespace

GeoJsonTrackWriter::GeoJsonTrackWriter(const std::filesystem::path& path, DateTime scenarioStart,
                                       const LakeGeoref& georef)
    : file_(path), start_(scenarioStart), georef_(georef) {}

Status GeoJsonTrackWriter::WriteLevel(int level, double hours, std::span<const double> x,
                                      std::span<const float> y) {
  if (level == 1) firstHours_ = hours;
  lastHours_ = hours;
  coordinates_.resize(x.size());
  for (std::size_t p = 0; p < x.size(); ++p) {
    double lon = 0, lat = 0;
    georef_.ToLonLat(x[p] * kKmPerMetre, y[p] * kKmPerMetre, lon, lat);
    coordinates_[p].push_back(lon);
    coordinates_[p].push_back(lat);
  }
  return Status::Ok();
}

Status GeoJsonTrackWriter::Finish() {
  if (Status s = file_.Open("GeoJSON file"); !s.ok()) return s;
  std::FILE* out = file_.Out();
  const std::string release = FormatIsoDateTime(DateTime{start_.days + firstHours_ / kHoursPerDay});
  const std::string end = FormatIsoDateTime(DateTime{start_.days + lastHours_ / kHoursPerDay});
  std::fputs("{\"type\":\"FeatureCollection\",\"features\":[\n", out);
  for (std::size_t p = 0; p < coordinates_.size(); ++p) {
    std::fputs(p ? ",\n" : "", out);
    std::fputs("{\"type\":\"Feature\",\"geometry\":{\"type\":\"LineString\",\"coordinates\":[", out);
    // A position that has no longitude and latitude (outside the
    // projection's domain) ends the line: JSON has no infinity.
    const auto& c = coordinates_[p];
    std::size_t finite = 0;
    while (finite < c.size() && std::isfinite(c[finite]) && std::isfinite(c[finite + 1])) finite += 2;
    for (std::size_t i = 0; i < std::max<std::size_t>(finite, 4); i += 2) {
      const std::size_t at = std::min(i, finite >= 2 ? finite - 2 : 0);
      if (i) std::fputc(',', out);
      std::fprintf(out, kPositionFormat, c[at], c[at + 1]);
    }
    std::fprintf(out, "]},\"properties\":{\"particle\":%zu,\"release_time\":\"%s\",\"end_time\":\"%s\"}}",
                 p + 1, release.c_str(), end.c_str());
  }
  std::fputs("\n]}\n", out);
  return file_.Commit();
}

}  // namespace lakedrift
