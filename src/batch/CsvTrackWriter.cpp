#include "batch/CsvTrackWriter.h"

#include <string>

#include "model/ModelState.h"
#include "model/NumberFormat.h"

namespace lakedrift {
namespace {
constexpr double kHoursPerDay = 24.0;
}  // namespace

CsvTrackWriter::CsvTrackWriter(const std::filesystem::path& path, DateTime scenarioStart,
                               const LakeGeoref* georef)
    : file_(path), start_(scenarioStart), georef_(georef) {}

Status CsvTrackWriter::Open() {
  if (Status s = file_.Open("tracks file"); !s.ok()) return s;
  std::fputs(georef_ ? "particle,level,time,x_m,y_m,lon,lat\n" : "particle,level,time,x_m,y_m\n",
             file_.Out());
  return Status::Ok();
}

Status CsvTrackWriter::WriteLevel(int level, double hours, std::span<const double> x,
                                  std::span<const float> y) {
  const std::string time = FormatIsoDateTime(DateTime{start_.days + hours / kHoursPerDay});
  std::string row;
  for (std::size_t p = 0; p < x.size(); ++p) {
    row.clear();
    row += std::to_string(p + 1);
    row += ',';
    row += std::to_string(level);
    row += ',';
    row += time;
    row += ',';
    row += RoundTrip(x[p]);
    row += ',';
    row += RoundTrip(y[p]);
    if (georef_) {
      double lon = 0, lat = 0;
      georef_->ToLonLat(x[p] * kKmPerMetre, y[p] * kKmPerMetre, lon, lat);
      row += ',' + RoundTrip(lon) + ',' + RoundTrip(lat);
    }
    row += '\n';
    std::fwrite(row.data(), 1, row.size(), file_.Out());
  }
  if (std::ferror(file_.Out()))
    return Status::Fail(ErrorKind::ReadFailed, "tracks file " + file_.FinalPath().string() +
                                                   ": write failed (" + SystemReason() + ")");
  return Status::Ok();
}

Status CsvTrackWriter::Finish() { return file_.Commit(); }

}  // namespace lakedrift
