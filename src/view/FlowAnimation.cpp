#include "view/FlowAnimation.h"

#include <cmath>

#include "view/Picture.h"
#include "view/TimeLabel.h"

namespace lakedrift {
namespace {
constexpr double kMaxSpeedStart = -1e20;  // below any speed: the first frame sets it

// The clock's start by season; any other season leaves it empty.
DateTime ClockStart(int season) { return season == 1 || season == 2 ? ScenarioStart(season) : DateTime{}; }
}  // namespace

FlowAnimation::FlowAnimation(ModelState& state, Surface& surface)
    : state_(state), surface_(surface), frames_(state) {}

FlowAnimation::~FlowAnimation() { End(); }

Status FlowAnimation::Start() {
  // Frame 0 is read before anything changes, so a refused animation leaves
  // vectors, MaxSpeed and picture as they were.
  if (Status opened = frames_.Open(); !opened.ok()) return opened;
  clock_ = ClockStart(state_.Season);
  label_ = std::string(kTimeLabelPrefix) + FormatDateTime(clock_);
  state_.MaxSpeed = kMaxSpeedStart;
  firstFrameRead_ = true;
  frameTotal_ = state_.FrameCount;
  framesShown_ = 0;
  return Status::Ok();
}

bool FlowAnimation::HasNextFrame() const { return frames_.IsOpen() && framesShown_ < frameTotal_; }

Status FlowAnimation::ShowNextFrame() {
  // Start has already read frame 0.
  if (firstFrameRead_)
    UpdateMaxSpeed(state_);  // MaxSpeed starts afresh with frame 0
  else if (Status s = frames_.Next(); !s.ok())
    return s;
  firstFrameRead_ = false;
  // The box is sized by the text printed last, which the new one replaces.
  const std::string previous = label_;
  label_ = std::string(kTimeLabelPrefix) + FormatDateTime(clock_);
  surface_.Clear();
  DrawPicture({.surface = surface_,
               .state = state_,
               .map = &map_,
               .vectors = true,
               .labelBox = &previous,
               .label = &label_});
  clock_.days += kTwoHoursInDays;
  ++framesShown_;
  return Status::Ok();
}

void FlowAnimation::End() { frames_.Close(); }

}  // namespace lakedrift
