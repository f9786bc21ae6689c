#include "view/FlowAnimation.h"

#include <cmath>

#include "view/LakeMap.h"
#include "view/TimeLabel.h"
#include "view/VelocityVectors.h"

namespace lakedrift {
namespace {
constexpr double kMaxSpeedStart = -1e20;      // below any speed: the first frame sets it

// The clock's start by season; any other season leaves it empty.
DateTime ClockStart(int season) {
  return season == 1 || season == 2 ? ScenarioStart(season) : DateTime{};
}
}  // namespace

FlowAnimation::FlowAnimation(ModelState& state, Surface& surface) : state_(state), surface_(surface) {}

FlowAnimation::~FlowAnimation() { End(); }

Status FlowAnimation::Start() {
  clock_ = ClockStart(state_.Season);
  label_ = std::string(kTimeLabelPrefix) + FormatDateTime(clock_);
  state_.MaxSpeed = kMaxSpeedStart;
  PrepareFlowArrays(state_);
  if (Status s = flow_.Open(state_.FlowFileName, state_.NodeCount); !s.ok()) {
    End();
    return s;
  }
  frameTotal_ = state_.FrameCount;
  framesShown_ = 0;
  ended_ = false;
  return Status::Ok();
}

bool FlowAnimation::HasNextFrame() const { return !ended_ && framesShown_ < frameTotal_; }

Status FlowAnimation::ShowNextFrame() {
  if (Status s = flow_.ReadFlowFrame(state_); !s.ok()) {
    End();
    return s;
  }
  UpdateMaxSpeed(state_);
  surface_.Clear();
  map_.Draw(surface_, state_);
  DrawVectors(surface_, state_);

  // The box is sized by the text printed last, which the new one replaces.
  const std::string previous = label_;
  label_ = std::string(kTimeLabelPrefix) + FormatDateTime(clock_);
  DrawTimeLabel(surface_, previous, label_);
  clock_.days += kTwoHoursInDays;
  ++framesShown_;
  return Status::Ok();
}

void FlowAnimation::End() {
  flow_.Close();
  ended_ = true;
}

}  // namespace lakedrift
