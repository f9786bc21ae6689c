#include "sim/HeadlessRun.h"

#include <cmath>

#include "sim/ElementLocation.h"

namespace lakedrift {

HeadlessRun::HeadlessRun(ModelState& state, uint64_t seed)
    : state_(state), stepper_(state, seed), frames_(state) {}

HeadlessRun::~HeadlessRun() { End(); }

Status HeadlessRun::Start() {
  if (Status s = frames_.Start(); !s.ok()) return s;
  const double x0 = kMetresPerKm * state_.ReleaseX;
  const double y0 = kMetresPerKm * state_.ReleaseY;
  stepper_.SetCurrentElement(ReleaseElement(state_));
  stepper_.IndexGeometry();
  const auto count = static_cast<std::size_t>(std::max(0.0, std::floor(state_.ParticleCount)));
  x_.assign(count, x0);
  y_.assign(count, static_cast<float>(y0));
  return Status::Ok();
}

bool HeadlessRun::HasNextStep() const { return frames_.HasNextStep(); }

Status HeadlessRun::Step() {
  bool newFrame = false;
  if (Status s = frames_.BeginStep(newFrame); !s.ok()) return s;
  for (std::size_t p = 0; p < x_.size(); ++p) {
    double xNew = 0, yNew = 0;
    stepper_.Move(x_[p], y_[p], xNew, yNew);
    x_[p] = xNew;
    y_[p] = static_cast<float>(yNew);
  }
  frames_.StepDone();
  return Status::Ok();
}

void HeadlessRun::End() { frames_.End(); }

double HeadlessRun::HoursOfLevel(int level) const { return frames_.HoursOfLevel(level); }

}  // namespace lakedrift
