#pragma once
#include <filesystem>
#include <map>
#include <span>
#include <string>

#include "batch/TrackSink.h"
#include "model/AtomicFile.h"
#include "model/DateTime.h"
#include "ugrid/LakeGeoref.h"

namespace lakedrift {

// Tracks as a CF-1.8 discrete sampling geometry of featureType
// "trajectory" (multidimensional array: trajectory × obs), x and y in metres
// of the lake grid, time in hours since the scenario's start. Levels are
// written as they come, in chunks one level deep, so memory does not grow
// with the number of levels. With a georef, lon and lat in degrees join x
// and y, which then name their grid mapping.
class NetcdfTrackWriter : public TrackSink {
 public:
  NetcdfTrackWriter(const std::filesystem::path& path, DateTime scenarioStart, int particles, int levels,
                    std::map<std::string, std::string> attributes, const LakeGeoref* georef = nullptr);
  ~NetcdfTrackWriter() override;
  Status Open();
  Status WriteLevel(int level, double hours, std::span<const double> x, std::span<const float> y) override;
  Status Finish() override;

 private:
  Status Check(int code, const std::string& doing) const;
  int DefineLonLat(const int dims[2], const std::size_t chunk[2]);

  AtomicFile file_;
  DateTime start_;
  int particles_;
  int levels_;
  std::map<std::string, std::string> attributes_;
  int ncid_ = -1;
  int timeVar_ = -1, xVar_ = -1, yVar_ = -1;
  const LakeGeoref* georef_ = nullptr;
  int lonVar_ = -1, latVar_ = -1;
};

}  // namespace lakedrift
