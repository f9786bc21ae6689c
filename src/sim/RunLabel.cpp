#include "sim/RunLabel.h"

namespace lakedrift {
namespace {

constexpr const char* kStartLabelPrefix = "Simulation Time (Hours):";

}  // namespace

RunLabel::RunLabel(int season)
    : date_(ScenarioStart(season)), last_(std::string(kStartLabelPrefix) + FormatDateTime(date_)) {}

void RunLabel::Draw(RunPainter& painter) {
  const std::string previous = last_;
  last_ = std::string(kTimeLabelPrefix) + FormatDateTime(date_);
  painter.TimeLabel(previous, last_);
  date_.days += kTwoHoursInDays;
}

}  // namespace lakedrift
