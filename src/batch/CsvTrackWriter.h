#pragma once
#include <cstdio>
#include <filesystem>
#include <span>

#include "batch/TrackSink.h"
#include "model/AtomicFile.h"
#include "model/DateTime.h"
#include "ugrid/LakeGeoref.h"

namespace lakedrift {

// Tracks as CSV, "particle,level,time,x_m,y_m", one row per particle per
// level, level by level; times in ISO 8601 local time of the scenario,
// coordinates with round-trip precision. With a georef, each row also
// carries the position's longitude and latitude in columns lon,lat.
class CsvTrackWriter : public TrackSink {
 public:
  CsvTrackWriter(const std::filesystem::path& path, DateTime scenarioStart,
                 const LakeGeoref* georef = nullptr);
  Status Open();
  Status WriteLevel(int level, double hours, std::span<const double> x, std::span<const float> y) override;
  Status Finish() override;

 private:
  AtomicFile file_;
  DateTime start_;
  const LakeGeoref* georef_ = nullptr;
};

}  // namespace lakedrift
