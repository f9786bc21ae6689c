#pragma once
#include <filesystem>
#include <span>
#include <vector>

#include "batch/TrackSink.h"
#include "model/AtomicFile.h"
#include "model/DateTime.h"
#include "ugrid/LakeGeoref.h"

namespace lakedrift {

// Tracks as GeoJSON (RFC 7946): a FeatureCollection of one LineString per
// particle in longitude and latitude, with the particle's number and its
// release and end times as properties. The positions are kept until Finish.
class GeoJsonTrackWriter : public TrackSink {
 public:
  GeoJsonTrackWriter(const std::filesystem::path& path, DateTime scenarioStart, const LakeGeoref& georef);
  Status WriteLevel(int level, double hours, std::span<const double> x, std::span<const float> y) override;
  Status Finish() override;

 private:
  AtomicFile file_;
  DateTime start_;
  const LakeGeoref& georef_;
  std::vector<std::vector<double>> coordinates_;  // per particle: lon, lat, lon, lat, …
  double firstHours_ = 0, lastHours_ = 0;
};

}  // namespace lakedrift
