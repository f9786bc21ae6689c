#include "sim/HeadlessRun.h"

#include <cmath>

#include "sim/ElementLocation.h"

namespace lakedrift {

HeadlessRun::HeadlessRun(ModelState& state, uint64_t seed)
    : state_(state), stepper_(state, seed), frames_(state), clock_(state) {}

HeadlessRun::~HeadlessRun() { End(); }

Status HeadlessRun::Start() {
  if (Status s = frames_.Open(); !s.ok()) return s;
  clock_ = RunClock(state_);
  stepCount_ = clock_.StepCount();
  const double x0 = kMetresPerKm * state_.ReleaseX;
  const double y0 = kMetresPerKm * state_.ReleaseY;
  stepper_.SetCurrentElement(ReleaseElement(state_));
  stepper_.IndexGeometry();
  const auto count = static_cast<std::size_t>(std::max(0.0, std::floor(state_.ParticleCount)));
  x_.assign(count, x0);
  y_.assign(count, static_cast<float>(y0));
  stepsDone_ = 0;
  return Status::Ok();
}

bool HeadlessRun::HasNextStep() const { return frames_.IsOpen() && stepsDone_ < stepCount_; }

Status HeadlessRun::Step() {
  if (clock_.Advance()) {
    if (Status s = frames_.Next(); !s.ok()) return s;
  }
  for (std::size_t p = 0; p < x_.size(); ++p) {
    double xNew = 0, yNew = 0;
    stepper_.Move(x_[p], y_[p], xNew, yNew);
    x_[p] = xNew;
    y_[p] = static_cast<float>(yNew);
  }
  ++stepsDone_;
  return Status::Ok();
}

void HeadlessRun::End() {
  frames_.Close();
}

double HeadlessRun::HoursOfLevel(int level) const { return clock_.HoursOfLevel(level); }

}  // namespace lakedrift
