#include "view/FlowAnimation.h"

#include <cmath>

#include "view/LakeMap.h"
#include "view/VelocityVectors.h"

namespace lakedrift {
namespace {
constexpr double kMaxSpeedStart = -1e20;      // below any speed: the first frame sets it
constexpr float kLabelDepthFraction = 0.9f;   // of the view's height, from its top
constexpr const char* kLabelPrefix = "Simulation Time:";

// The clock's start by season; any other season leaves it empty.
DateTime ClockStart(int season) {
  return season == 1 || season == 2 ? ScenarioStart(season) : DateTime{};
}
}  // namespace

FlowAnimation::FlowAnimation(ModelState& state, Surface& surface) : state_(state), surface_(surface) {}

FlowAnimation::~FlowAnimation() { End(); }

Status FlowAnimation::Start() {
  clock_ = ClockStart(state_.Season);
  label_ = std::string(kLabelPrefix) + FormatDateTime(clock_);
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
  DrawMap(surface_, state_);
  DrawVectors(surface_, state_);

  const float x = surface_.ScaleLeft();
  const float y = surface_.ScaleTop() - std::fabs(surface_.ScaleHeight()) * kLabelDepthFraction;
  surface_.SetCurrent(x, y);
  // The box is sized by the text printed last, which the new one replaces.
  surface_.FilledBox(x, y, x + surface_.TextWidth(label_), surface_.BelowBy(y, surface_.TextHeight(label_)),
                     PaletteColour(kLightGrey));
  surface_.SetCurrent(x, y);
  label_ = std::string(kLabelPrefix) + FormatDateTime(clock_);
  surface_.Print(label_);
  clock_.days += kTwoHoursInDays;
  ++framesShown_;
  return Status::Ok();
}

void FlowAnimation::End() {
  flow_.Close();
  ended_ = true;
}

}  // namespace lakedrift
